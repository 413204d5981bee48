#pragma once
// The fields a page offers its template ({dede:field.NAME/}), by the kind of page.
#include <string>
#include <utility>
#include <vector>

#include "dede/renderer.h"

namespace brindle::dede {

// What every page has, whatever its kind ($PubFields in DedeCMS, also the one array a template's
// {dede:foreach} can walk here).
std::vector<std::pair<std::string, std::string>> public_fields(const Site& site);

// A home or single page, with a current category when typeid_ is not 0.
Page index_page(const Site& site, int typeid_);

}  // namespace brindle::dede
