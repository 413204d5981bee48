#include "tools/preview/serve/article_page.h"

namespace brindle::preview {

// When dede/article_view.h lands: return dede::render_article_page(renderer, templets, aid, page_no);
Result<dede::RenderedPage> render_article(dede::Renderer&, const std::filesystem::path&, int64_t aid, int) {
    return fail("article " + std::to_string(aid) + ": article pages are not built yet in this version of brindle-preview");
}

}  // namespace brindle::preview
