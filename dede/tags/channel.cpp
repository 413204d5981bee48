// {dede:channel}: the categories at one level (top, the children of one, or its siblings), with
// the current one written in its own style.
#include "dede/php_text.h"
#include "dede/tags/libraries.h"

namespace brindle::dede {
namespace {

constexpr const char* kColumns = "SELECT id,typename,typedir,isdefault,ispart,defaultname,namerule2,moresite,siteurl,sitepath "
                                 "FROM `#@__arctype` WHERE ";

}  // namespace

std::string channel(TagCall& call) {
    const TagAttributes& a = call.tag.attributes;
    Site& site = call.renderer.site();
    const long long line = php_int(a.get("row")) == 0 ? 100 : php_int(a.get("row"));
    const long long col = a.get("col").empty() ? 1 : php_int(a.get("col"));
    std::string type = a.get("type").empty() ? "son" : std::string(a.get("type"));
    if (type == "sun") type = "son";
    const std::string currentstyle(a.get("currentstyle"));

    long long typeid_ = 0, reid = 0, topid = 0;
    const std::string given(a.get("typeid"));
    const Category* current = nullptr;
    if (given.empty() || given == "0") current = site.category(call.page.typeid_);
    else current = site.category(static_cast<int>(php_int(given)));
    if (current) typeid_ = current->id, reid = current->reid, topid = current->topid;

    std::string body = call.tag.body.empty() ? call.renderer.system_template("channel_list.htm") : call.tag.body;
    const std::string order = " And ishidden<>1 order by sortrank asc limit 0, " + std::to_string(line);
    std::string query;
    if (type == "top") query = std::string(kColumns) + "reid=0" + order;
    else if (type == "son" && typeid_ != 0) query = std::string(kColumns) + "reid='" + std::to_string(typeid_) + "'" + order;
    else if (type == "self" && reid != 0) query = std::string(kColumns) + "reid='" + std::to_string(reid) + "'" + order;
    if (query.empty()) return {};
    auto result = site.database().select(site.sql(query));
    // A category without children shows its siblings instead.
    if (result && type == "son" && reid != 0 && result->rows.empty())
        result = site.database().select(site.sql(std::string(kColumns) + "reid='" + std::to_string(reid) + "'" + order));
    if (!result) {
        call.renderer.report(call.file, call.tag.begin, "{dede:channel}: " + result.error().message);
        return {};
    }
    const bool needs_rel = body.find(":rel") != std::string::npos;
    std::string out;
    size_t next = 0;
    long long index = 0;
    for (long long i = 0; i < line; i += col) {
        if (col > 1) out += "<dl>\r\n";
        for (long long j = 0; j < col; ++j) {
            if (col > 1) out += "<dd>\r\n";
            if (next < result->rows.size()) {
                Row row = row_at(*result, next++);
                row["sonids"] = row["rel"] = "";
                if (needs_rel && !site.children(static_cast<int>(php_int(row["id"]))).empty())
                    row["rel"] = " rel='dropmenu" + row["id"] + "'";
                row["typelink"] = row["typeurl"] = site.category_url(row);
                const long long id = php_int(row["id"]);
                if ((id == typeid_ || (topid == id && type == "top")) && !currentstyle.empty()) {
                    std::string current_row = replace_all(currentstyle, "~rel~", row["rel"]);
                    current_row = replace_all(current_row, "~id~", row["id"]);
                    current_row = replace_all(current_row, "~typelink~", row["typelink"]);
                    out += replace_all(current_row, "~typename~", row["typename"]);
                } else {
                    call.renderer.set_global("autoindex", std::to_string(index));
                    out += call.renderer.fill_items(body, {row}, call.file, call.tag.body_at, "", false);
                }
            }
            if (col > 1) out += "</dd>\r\n";
            ++index;
        }
        if (col > 1) out += "    </dl>\r\n";
    }
    call.renderer.set_global("autoindex", std::to_string(index));
    return out;
}

// {dede:type}: one category, the given one or the page's.
std::string type(TagCall& call) {
    Site& site = call.renderer.site();
    long long typeid_ = php_int(call.tag.attributes.get("typeid"));
    if (typeid_ == 0) typeid_ = call.page.typeid_;
    if (typeid_ == 0) return {};
    auto result = site.database().select(site.sql(std::string(kColumns) + "id='" + std::to_string(typeid_) + "'"));
    if (!result || result->rows.empty()) return {};
    std::string body = call.tag.body;
    size_t first = body.find_first_not_of(" \t\r\n"), last = body.find_last_not_of(" \t\r\n");
    body = first == std::string::npos ? call.renderer.system_template("part_type_list.htm") : body.substr(first, last - first + 1);
    Row row = row_at(*result, 0);
    row["typelink"] = row["typeurl"] = site.category_url(row);
    return call.renderer.fill_items(body, {row}, call.file, trimmed_body_at(call.tag), "", false);
}

}  // namespace brindle::dede
