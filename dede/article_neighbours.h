#pragma once
// {dede:prenext}: the links to the articles before and after this one in its category (by id, those
// a visitor may see), as text or as their pictures.
#include <cstdint>
#include <string>
#include <string_view>

#include "dede/site.h"

namespace brindle::dede {

struct ArticleNeighbours {
    std::string pre, preimg, next, nextimg;

    // get='pre', 'preimg', 'next' or 'nextimg'; anything else gives both text links.
    std::string shown(std::string_view get) const;
};

ArticleNeighbours article_neighbours(const Site& site, int64_t aid, int typeid_);

}  // namespace brindle::dede
