// {dede:channelartlist}: its body rendered once per category, as that category's page.
#include "dede/php_text.h"
#include "dede/pages.h"
#include "dede/tags/libraries.h"

namespace brindle::dede {
namespace {

}  // namespace

std::string channelartlist(TagCall& call) {
    const TagAttributes& a = call.tag.attributes;
    Site& site = call.renderer.site();
    std::string body = php_trim(call.tag.body);
    if (body.empty()) body = call.renderer.system_template("part_channelartlist.htm");
    std::string typeid_(a.get("typeid"));
    if (typeid_.empty() || typeid_ == "0") typeid_ = std::to_string(call.page.typeid_);
    long long rows = php_int(a.get("row"));
    if (rows == 0) rows = 20;
    std::string where;
    if (typeid_ == "0" || typeid_ == "top") where = " reid=0 AND ispart<>2 AND ishidden<>1 AND channeltype>0 ";
    else if (typeid_.find(',') == std::string::npos) where = " reid='" + std::to_string(php_int(typeid_)) + "' AND ispart<>2 AND ishidden<>1 ";
    else where = " id IN(" + id_list(typeid_) + ") AND ispart<>2 AND ishidden<>1 ";
    const std::string notypeid = id_list(a.get("notypeid"));
    if (!notypeid.empty() && notypeid != "0") where += "AND id NOT IN (" + notypeid + ")";
    auto result = site.database().select(site.sql(
        "SELECT id,typename,typedir,isdefault,ispart,defaultname,namerule2,moresite,siteurl,sitepath FROM `#@__arctype` "
        "WHERE " + where + " ORDER BY sortrank ASC LIMIT " + std::to_string(rows)));
    if (!result) {
        call.renderer.report(call.file, call.tag.begin, "{dede:channelartlist}: " + result.error().message);
        return {};
    }
    std::string out;
    int parity = 1;
    for (size_t i = 0; i < result->rows.size(); ++i) {
        Row category = row_at(*result, i);
        call.renderer.set_global("itemindex", std::to_string(i + 1));
        call.renderer.set_global("itemparity", std::to_string(parity));
        Page page = index_page(site, static_cast<int>(php_int(category["id"])));
        page.fields["typeurl"] = site.category_url(category);
        out += call.renderer.render_page(body, page, call.file);
        parity = parity == 1 ? 2 : 1;
    }
    if (!result->rows.empty()) call.renderer.set_global("itemparity", std::to_string(parity));
    return out;
}

}  // namespace brindle::dede
