#pragma once
// The fields a page offers its template ({dede:field.NAME/}), by the kind of page.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dede/renderer.h"

namespace brindle::dede {

// A whole page, as DedeCMS would send it.
struct RenderedPage {
    std::string html;
    std::string template_file;  // the template it came from
};

// What every page has, whatever its kind ($PubFields in DedeCMS, also the one array a template's
// {dede:foreach} can walk here).
std::vector<std::pair<std::string, std::string>> public_fields(const Site& site);

// A template's name as a category or article gives it, {style} filled in and doubled slashes made
// single: its path under templets/.
std::string template_path(const Site& site, std::string_view name);

// The links from the home page down to the category and the category's own, each followed by
// cfg_list_symbol ("position"); the home page's link alone without a category.
std::string category_position(const Site& site, const Category* category);

// A home or single page, with a current category when typeid_ is not 0.
Page index_page(const Site& site, int typeid_);

}  // namespace brindle::dede
