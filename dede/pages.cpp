#include "dede/pages.h"

#include "dede/php_text.h"
namespace brindle::dede {

namespace {

// A category's template names with {style} filled in, doubled slashes made single.
std::string template_name(const Site& site, const std::string& name) {
    std::string out;
    for (char c : replace_all(name, "{style}", site.global("cfg_df_style")))
        if (!(c == '/' && !out.empty() && out.back() == '/')) out += c;
    return out;
}

// The path from the home page down to the category: as links ("position") and as names ("title").
void add_position(const Site& site, const Category& category, Page& page) {
    const std::string symbol = site.global("cfg_list_symbol");
    std::string links, names;
    const Category* at = &category;
    for (int depth = 0; at && depth < 64; ++depth) {
        Row columns = at->columns;
        links = "<a href='" + site.category_url(columns) + "'>" + columns["typename"] + "</a>" + (links.empty() ? "" : symbol + links);
        names = columns["typename"] + (names.empty() ? "" : symbol + names);
        at = at->reid > 0 ? site.category(at->reid) : nullptr;
    }
    const std::string home = "<a href='" + site.global("cfg_basehost") + site.global("cfg_indexurl") + "'>" +
                             site.global("cfg_indexname") + "</a>";
    page.fields["position"] = home + symbol + links + symbol;
    page.fields["title"] = names;
}

}  // namespace

Page index_page(const Site& site, int typeid_) {
    Page page;
    page.view = Page::View::Index;
    page.typeid_ = typeid_;
    if (const Category* category = site.category(typeid_)) {
        for (const auto& [name, value] : category->columns) page.fields[name] = value;
        for (const char* name : {"tempindex", "templist", "temparticle"}) page.fields[name] = template_name(site, page.fields[name]);
        auto channel = site.database().select(site.sql(
            "SELECT typename AS ctypename, addtable, issystem FROM `#@__channeltype` WHERE id='" +
            std::to_string(php_int(category->columns.at("channeltype"))) + "'"));
        if (channel && !channel->rows.empty())
            for (const auto& [name, value] : row_at(*channel, 0)) page.fields[name] = value;
        add_position(site, *category, page);
    }
    page.fields["typeid"] = std::to_string(typeid_);
    for (auto& [name, value] : public_fields(site)) page.fields[name] = value;
    return page;
}

std::vector<std::pair<std::string, std::string>> public_fields(const Site& site) {
    return {{"phpurl", site.global("cfg_phpurl")},
            {"indexurl", site.global("cfg_mainsite") + site.global("cfg_indexurl")},
            {"templeturl", site.global("cfg_templeturl")},
            {"memberurl", site.global("cfg_memberurl")},
            {"specurl", site.global("cfg_specialurl")},
            {"indexname", site.global("cfg_indexname")},
            {"templetdef", site.global("cfg_templets_dir") + "/" + site.global("cfg_df_style")}};
}

}  // namespace brindle::dede
