#pragma once
// The fields one page of an article shows ({dede:field.NAME/}), worked out from its record as
// DedeCMS does: the channel table's fields (those the template names with type= or noteid= under
// that name too), keyword links in its HTML text, the text cut into pages, the picture, the vote,
// the digg shares, and for a static page its file's names; then the page's own part of the text,
// its number, and past the first page "(N)" after the title and a summary of that page.
#include <string>
#include <vector>

#include "dede/article_pages.h"
#include "dede/article_record.h"
#include "dede/tag_parser.h"

namespace brindle::dede {

struct ArticlePageFields {
    Row fields;
    ArticlePages pages;
    std::string split_field;  // the field cut into pages, "" when the article has one page only
    PageAddresses addresses;
    std::vector<std::string> warnings;  // what made a text come out otherwise than its author meant
};

// What every page of the article shows; `tags` are the template's own.
ArticlePageFields article_page_fields(const Site& site, const ArticleRecord& article, const ParsedTemplate& tags,
                                      bool dynamic);

// The fields of one page: page_no is one of fields.pages; its summary is cut in the site's encoding.
void show_page(ArticlePageFields& fields, size_t page_no, SiteCharset charset);

}  // namespace brindle::dede
