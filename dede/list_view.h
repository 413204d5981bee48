#pragma once
// A category's list page: as DedeCMS's HTML generator writes it for a static category (pagelist
// links list_T_P.html), as /plus/list.php shows it for a dynamic one, and a cover page through
// the category's index template.
#include <filesystem>

#include "dede/pages.h"

namespace brindle::dede {

Result<RenderedPage> render_list_page(Renderer& renderer, const std::filesystem::path& templets, int typeid_, int page_no);

}  // namespace brindle::dede
