#include "dede/serve/site_pages.h"

#include "common/input_file.h"
#include "common/try.h"
#include "dede/article_view.h"
#include "dede/pages.h"
#include "dede/php_text.h"
#include "dede/serve/issue_positions.h"
#include "dede/serve/page_decoration.h"
#include "dede/serve/static_files.h"
#include "dede/template_check.h"
#include "dede/template_decode.h"

namespace brindle::preview {
namespace {

namespace fs = std::filesystem;
using dede::Route;

constexpr std::string_view kOwnPageType = "text/html; charset=utf-8";

std::string file_text(const std::string& path) {
    auto bytes = read_input_file(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// The article's static address as page `page_no` has it: "59.html", then "59_2.html".
std::string paged_address(const std::string& address, int page_no) {
    if (page_no <= 1) return address;
    size_t dot = address.rfind('.'), slash = address.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return address + "_" + std::to_string(page_no);
    return address.substr(0, dot) + "_" + std::to_string(page_no) + address.substr(dot);
}

}  // namespace

SitePages::SitePages(SiteSession& session, std::string origin, std::optional<fs::path> uploads)
    : session_(session),
      site_(*session.site),
      router_(dede::SiteLayout::of(site_)),
      php_(site_, session.php),
      origin_(std::move(origin)),
      uploads_(std::move(uploads)),
      charset_(dede::charset_name(site_.charset())),
      home_(site_.global("cfg_cmspath") + "/") {}

Reply SitePages::page(const Route& route, std::string_view path, uint64_t generation) {
    if (route.kind == Route::Kind::Redirect) return {301, std::string(kOwnPageType), {}, route.name};
    dede::Renderer renderer(site_, session_.templets, &php_);
    auto rendered = render(renderer, route, path);
    if (!rendered && rendered.error().field == "not found") return not_found(path, generation);
    if (!rendered) {
        return {500,
                std::string(kOwnPageType),
                before_body_end(message_page("500: the page could not be rendered",
                                             "brindle-preview could not render " + std::string(path) + ":",
                                             {rendered.error().describe()}, home_),
                                reload_script(generation)),
                {}};
    }
    std::string html = with_host(std::move(rendered->html), site_.global("cfg_basehost"), origin_);
    html = before_body_end(std::move(html), diagnostics_overlay(diagnostics(renderer, rendered->template_file)) +
                                                reload_script(generation));
    return {200, "text/html; charset=" + charset_, site_.in_site_encoding(html), {}};
}

Result<dede::RenderedPage> SitePages::render(dede::Renderer& renderer, const Route& route, std::string_view path) {
    switch (route.kind) {
        case Route::Kind::Home: return render_home(renderer);
        case Route::Kind::List:
            return dede::render_list_page(renderer, session_.templets, static_cast<int>(route.id), route.page);
        case Route::Kind::Article:
        case Route::Kind::NamedArticle: {
            BRINDLE_TRY(int64_t aid, find_article(route, path));
            return dede::render_article_page(renderer, session_.templets, aid, route.page);
        }
        default: return fail("no page", "not found");
    }
}

Result<dede::RenderedPage> SitePages::render_home(dede::Renderer& renderer) {
    // The home template the site chose (its homepageset), else its style's index.htm.
    std::string name = "{style}/index.htm";
    auto chosen = site_.database().select(site_.sql("SELECT templet FROM `#@__homepageset`"));
    if (chosen && !chosen->rows.empty() && chosen->rows[0][0] && !chosen->rows[0][0]->empty())
        name = *chosen->rows[0][0];
    const fs::path file = session_.templets / dede::replace_all(name, "{style}", site_.global("cfg_df_style"));
    auto text = renderer.read_template(file);
    if (!text) return fail("no template " + file.string());
    dede::Page page = dede::index_page(site_, 0);
    return dede::RenderedPage{renderer.render_page(*text, page, file.string()), file.string()};
}

Result<int64_t> SitePages::find_article(const Route& route, std::string_view path) {
    auto& db = site_.database();
    const std::string which = route.kind == Route::Kind::Article ? "arc.id = " + std::to_string(route.id)
                                                                 : "arc.filename = " + db.quote(route.name);
    BRINDLE_TRY(auto rows,
                db.select(site_.sql("SELECT arc.id, arc.typeid, arc.senddate, arc.arcrank, arc.ismake, arc.money, "
                                    "arc.filename, tp.typedir, tp.namerule FROM `#@__archives` arc "
                                    "LEFT JOIN `#@__arctype` tp ON arc.typeid = tp.id WHERE " +
                                    which)));
    // /plus/view.php shows any article; a static address is only the article's own.
    const bool dynamic_form = path.starts_with(site_.global("cfg_plus_dir") + "/");
    for (size_t i = 0; i < rows.rows.size(); ++i) {
        dede::Row row = dede::row_at(rows, i);
        if (dynamic_form || paged_address(site_.article_url(row), route.page) == path) return dede::php_int(row["id"]);
    }
    return fail("no article there", "not found");
}

std::vector<std::string> SitePages::diagnostics(dede::Renderer& renderer, const std::string& template_file) const {
    std::vector<std::string> lines;
    IssuePositions positions(renderer);
    // A copy: finding a position may read a file, and reading adds to the renderer's issues.
    const std::vector<dede::RenderIssue> issues = renderer.issues();
    for (const dede::RenderIssue& issue : issues) {
        dede::TextPosition at = positions.at(issue);
        lines.push_back(shown(issue.file) + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": " +
                        (issue.error ? "error" : "warning") + ": " + issue.message);
    }
    // What brindle-check finds in the page's template and every file it included.
    std::vector<std::string> files{template_file};
    files.insert(files.end(), renderer.included_files().begin(), renderer.included_files().end());
    for (const std::string& file : files) {
        for (const dede::Diagnostic& d : dede::check_template(dede::decode_template(file_text(file))))
            lines.push_back(shown(file) + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) + ": " +
                            std::string(dede::severity_name(d.severity)) + ": " + d.message);
    }
    return lines;
}

std::string SitePages::shown(const std::string& file) const {
    fs::path relative = fs::path(file).lexically_relative(session_.templets);
    return relative.empty() || *relative.begin() == ".." ? file : relative.string();
}

Reply SitePages::file(const Route& route, std::string_view path, uint64_t generation) const {
    std::optional<fs::path> found;
    if (route.kind == Route::Kind::TemplateFile)
        found = file_inside(session_.templets, route.name);
    else if (route.kind == Route::Kind::UploadFile && uploads_)
        found = file_inside(*uploads_, route.name);
    if (!found) return not_found(path, generation);
    auto bytes = read_input_file(found->string());
    if (!bytes) return not_found(path, generation);
    return {200, content_type_for(*found, charset_), std::string(bytes->begin(), bytes->end()), {}};
}

Reply SitePages::not_found(std::string_view path, uint64_t generation) const {
    return {404,
            std::string(kOwnPageType),
            before_body_end(
                message_page("404: not found", "This site has no page at " + std::string(path) + ".", {}, home_),
                reload_script(generation)),
            {}};
}

}  // namespace brindle::preview
