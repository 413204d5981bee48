#pragma once
// An article's page for the preview. The engine's article view comes separately; until it does,
// an article address answers with this error, and the page is a 500 that says so.
#include <cstdint>
#include <filesystem>

#include "dede/list_view.h"

namespace brindle::preview {

Result<dede::RenderedPage> render_article(dede::Renderer& renderer, const std::filesystem::path& templets, int64_t aid,
                                          int page_no);

}  // namespace brindle::preview
