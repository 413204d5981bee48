#pragma once
// Which page of a DedeCMS site an address names, as the site lays its pages out: the home page,
// each category's list pages at the addresses its rules give them, each article at its own, the
// dynamic forms under the plus folder, and the template and upload folders whose files go out as
// they are. Knows the layout only: whether an article exists is for the caller to ask the site.
#include <cstdint>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "dede/site.h"

namespace brindle::dede {

struct CategoryLayout {
    int id = 0;
    std::string folder;        // "/a/news": typedir with {cmspath} filled in
    std::string defaultname;   // "index.html"
    std::string list_rule;     // namerule2: "{typedir}/list_{tid}_{page}.html"
    std::string article_rule;  // namerule: "{typedir}/{Y}/{M}{D}/{aid}.html"
    int isdefault = 0;         // 1 static, 0 static from list page 1 on, -1 dynamic
    int ispart = 0;            // 0 list, 1 cover, 2 link elsewhere
};

struct SiteLayout {
    std::string cmspath;       // "" or "/dir"
    std::string templets_dir;  // "/templets"
    std::string medias_dir;    // "/uploads"
    std::string plus_dir;      // "/plus"
    std::string special_dir;   // "/special": articles without a category rule
    std::string page_ext = ".html";
    std::vector<CategoryLayout> categories;

    static SiteLayout of(const Site& site);
};

struct Route {
    enum class Kind {
        NotFound,
        Home,
        List,          // id: the category, page from 1
        Article,       // id: the article, page from 1
        NamedArticle,  // name: an article's own file name (its filename column), page from 1
        TemplateFile,  // name: a path under the templets folder
        UploadFile,    // name: a path under the upload folder
        Redirect,      // name: the same address with the slash a folder needs
    };
    Route() = default;
    Route(Kind kind, int64_t id = 0, int page = 1, std::string name = {})
        : kind(kind), id(id), page(page), name(std::move(name)) {}

    Kind kind = Kind::NotFound;
    int64_t id = 0;
    int page = 1;
    std::string name;
    friend bool operator==(const Route&, const Route&) = default;
};

// The rules of a layout turned into patterns once, for every request after.
class PageRouter {
public:
    explicit PageRouter(SiteLayout layout);

    // `path` is decoded, `query` the raw text after '?'. An address with a "." or ".." segment, an
    // empty segment, a backslash or a NUL names nothing.
    Route route(std::string_view path, std::string_view query = {}) const;

private:
    struct ArticlePattern {
        std::regex by_id;    // captures the id, then the page
        std::regex by_name;  // captures the file name, then the page
    };
    Route route_page(std::string_view path, std::string_view query) const;

    SiteLayout layout_;
    std::vector<std::regex> list_patterns_;  // by category, captures the page
    std::vector<ArticlePattern> article_patterns_;
};

}  // namespace brindle::dede
