#pragma once
// An article's page: as DedeCMS's HTML generator writes a static article (page N to A_N.html beside
// the article's own file), and as /plus/view.php shows a dynamic one (ismake -1, arcrank not 0, a
// price, or no category). The page's own tags are field, pagebreak, pagetitle, prenext, fieldlist.
#include <cstdint>
#include <filesystem>

#include "dede/pages.h"

namespace brindle::dede {

// page_no counts from 1. No page for an unknown article, one a visitor may not read (not yet
// published, for members, for a price), a page past its last, or a jump DedeCMS answers with a
// redirect: an error that says which.
Result<RenderedPage> render_article_page(Renderer& renderer, const std::filesystem::path& templets, int64_t aid,
                                         int page_no);

}  // namespace brindle::dede
