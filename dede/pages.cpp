#include "dede/pages.h"

#include "dede/php_text.h"
namespace brindle::dede {

namespace {

std::string type_name(const Category& category) {
    auto found = category.columns.find("typename");
    return found == category.columns.end() ? std::string() : found->second;
}

// The category's path as names ("新闻中心 > 国内新闻"), the page title of a category's page.
std::string category_path_names(const Site& site, const Category& category) {
    const std::string symbol = site.global("cfg_list_symbol");
    std::string names;
    const Category* at = &category;
    for (int depth = 0; at && depth < 64; ++depth) {
        names = type_name(*at) + (names.empty() ? "" : symbol + names);
        at = at->reid > 0 ? site.category(at->reid) : nullptr;
    }
    return names;
}

}  // namespace

Page index_page(const Site& site, int typeid_) {
    Page page;
    page.view = Page::View::Index;
    page.typeid_ = typeid_;
    if (const Category* category = site.category(typeid_)) {
        for (const auto& [name, value] : category->columns) page.fields[name] = value;
        for (const char* name : {"tempindex", "templist", "temparticle"})
            page.fields[name] = template_path(site, page.fields[name]);
        auto channel = site.database().select(site.sql(
            "SELECT typename AS ctypename, addtable, issystem FROM `#@__channeltype` WHERE id='" +
            std::to_string(php_int(category->columns.at("channeltype"))) + "'"));
        if (channel && !channel->rows.empty())
            for (const auto& [name, value] : row_at(*channel, 0)) page.fields[name] = value;
        page.fields["position"] = category_position(site, category);
        page.fields["title"] = category_path_names(site, *category);
    }
    page.fields["typeid"] = std::to_string(typeid_);
    for (auto& [name, value] : public_fields(site)) page.fields[name] = value;
    return page;
}

std::string template_path(const Site& site, std::string_view name) {
    std::string out;
    for (char c : replace_all(std::string(name), "{style}", site.global("cfg_df_style")))
        if (!(c == '/' && !out.empty() && out.back() == '/')) out += c;
    return out;
}

std::string category_position(const Site& site, const Category* category) {
    const std::string symbol = site.global("cfg_list_symbol");
    const std::string home = "<a href='" + site.global("cfg_basehost") + site.global("cfg_indexurl") + "'>" +
                             site.global("cfg_indexname") + "</a>";
    if (!category) return home;
    std::string links;
    const Category* at = category;
    for (int depth = 0; at && depth < 64; ++depth) {
        links = "<a href='" + site.category_url(at->columns) + "'>" + type_name(*at) + "</a>" +
                (links.empty() ? "" : symbol + links);
        at = at->reid > 0 ? site.category(at->reid) : nullptr;
    }
    return home + symbol + links + symbol;
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
