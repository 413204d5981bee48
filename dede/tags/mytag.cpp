// {dede:myad} and {dede:mytag}: a stored block by name, the category's own before the site's, its
// expired text once its time is over; mytag with ismake='yes' is a template rendered in its turn.
#include "dede/php_text.h"
#include "dede/pages.h"
#include "dede/tags/libraries.h"

namespace brindle::dede {
namespace {

std::string stored_block(TagCall& call, std::string_view table) {
    Site& site = call.renderer.site();
    std::string_view name = call.tag.attributes.get("name");
    if (name.empty()) return {};
    long long typeid_ = php_int(call.tag.attributes.get("typeid"));
    auto page_type = call.page.fields.find("typeid");
    if (typeid_ == 0 && page_type != call.page.fields.end()) typeid_ = php_int(page_type->second);
    std::string where;
    if (typeid_ > 0) where = " And typeid IN(0," + call.renderer.parent_ids(static_cast<int>(typeid_)) + ") ";
    auto result = site.database().select(site.sql(" SELECT * FROM " + std::string(table) + " WHERE tagname LIKE " +
                                                  site.database().quote(name) + where + " ORDER BY typeid DESC LIMIT 0,1"));
    if (!result) {
        call.renderer.report(call.file, call.tag.begin, "{dede:" + call.tag.name + "}: " + result.error().message);
        return {};
    }
    if (result->rows.empty()) return {};
    Row row = row_at(*result, 0);
    const long long now = site.clock().now;
    if (row["timeset"] == "1" && (now < php_int(row["starttime"]) || now > php_int(row["endtime"]))) return row["expbody"];
    return row["normbody"];
}

}  // namespace

std::string myad(TagCall& call) { return stored_block(call, "`#@__myad`"); }

std::string mytag(TagCall& call) {
    std::string body = stored_block(call, "`#@__mytag`");
    std::string ismake(call.tag.attributes.get("ismake"));
    if (ismake != "yes") return body;
    Page page = index_page(call.renderer.site(), static_cast<int>(php_int(call.tag.attributes.get("typeid"))));
    return call.renderer.render_page(body, page, call.file);
}

}  // namespace brindle::dede
