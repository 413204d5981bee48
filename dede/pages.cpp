#include "dede/pages.h"

namespace brindle::dede {

Page index_page(const Site& site, int typeid_) {
    Page page;
    page.view = Page::View::Index;
    page.typeid_ = typeid_;
    if (const Category* category = site.category(typeid_)) {
        for (const auto& [name, value] : category->columns) page.fields[name] = value;
        auto channel = site.database().select(site.sql(
            "SELECT typename AS ctypename, addtable, issystem FROM `#@__channeltype` WHERE id='" +
            std::to_string(std::stoi("0" + category->columns.at("channeltype"))) + "'"));
        if (channel && !channel->rows.empty())
            for (const auto& [name, value] : row_at(*channel, 0)) page.fields[name] = value;
    }
    // What every page has, whatever its category.
    page.fields["typeid"] = std::to_string(typeid_);
    page.fields["phpurl"] = site.global("cfg_phpurl");
    page.fields["indexurl"] = site.global("cfg_mainsite") + site.global("cfg_indexurl");
    page.fields["templeturl"] = site.global("cfg_templeturl");
    page.fields["memberurl"] = site.global("cfg_memberurl");
    page.fields["specurl"] = site.global("cfg_specialurl");
    page.fields["indexname"] = site.global("cfg_indexname");
    page.fields["templetdef"] = site.global("cfg_templets_dir") + "/" + site.global("cfg_df_style");
    return page;
}

}  // namespace brindle::dede
