#pragma once
// The preview's answer to each address of the site: a page rendered from the templates, with the
// reload script and its diagnostics added; a file of the template or upload folder as it is; a 404
// for what the site does not have, a 500 for a page that cannot be rendered.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dede/lazy_php.h"
#include "dede/list_view.h"
#include "dede/page_routes.h"
#include "dede/serve/site_session.h"

namespace brindle::preview {

struct Reply {
    int status = 200;
    std::string content_type;
    std::string body;
    std::string location;  // where a redirect leads
};

class SitePages {
public:
    // `origin` is the preview's own address ("http://127.0.0.1:8080"); `uploads` the folder the
    // site's upload addresses (cfg_medias_dir) lead to, none when there is no such folder.
    SitePages(SiteSession& session, std::string origin, std::optional<std::filesystem::path> uploads);

    const dede::PageRouter& router() const { return router_; }

    // A rendered page (home, list, article), a redirect or a 404. Uses the site's database and PHP:
    // one call at a time, always from the same thread.
    Reply page(const dede::Route& route, std::string_view path, uint64_t generation);
    // A template or upload file, or a 404; any thread.
    Reply file(const dede::Route& route, std::string_view path, uint64_t generation) const;
    Reply not_found(std::string_view path, uint64_t generation) const;

private:
    Result<dede::RenderedPage> render(dede::Renderer& renderer, const dede::Route& route, std::string_view path);
    Result<dede::RenderedPage> render_home(dede::Renderer& renderer);
    // The article an article route names: a static address must be the one the site gives that
    // article (its date, folder and name), as only that file exists on the site.
    Result<int64_t> find_article(const dede::Route& route, std::string_view path);
    std::vector<std::string> diagnostics(dede::Renderer& renderer, const std::string& template_file) const;
    // A file's name as the overlay shows it: relative to the templets folder when inside it.
    std::string shown(const std::string& file) const;

    SiteSession& session_;
    dede::Site& site_;
    dede::PageRouter router_;
    dede::LazyPhp php_;
    std::string origin_;
    std::optional<std::filesystem::path> uploads_;
    std::string charset_;
    std::string home_;
};

}  // namespace brindle::preview
