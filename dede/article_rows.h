#pragma once
// The fields DedeCMS adds to each article row of a list before its item template is filled: the
// addresses, the cut title and summary, the picture and the links built from them. The lists
// differ in small ways, given here.
#include <string>

#include "dede/site.h"

namespace brindle::dede {

struct ArticleRowStyle {
    size_t title_length = 30;
    size_t info_length = 160;
    std::string image_width = "120", image_height = "120";
    bool with_info = true;       // "info" beside "infos" (arclist has both, list only infos)
    char bold_flag = 'b';        // the flag that makes the title bold ...
    std::string bold = "strong";  // ... in this element
};

void add_article_fields(const Site& site, Row& row, const ArticleRowStyle& style);

}  // namespace brindle::dede
