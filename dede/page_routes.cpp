#include "dede/page_routes.h"

#include <charconv>

#include "dede/php_text.h"

namespace brindle::dede {
namespace {

std::string regex_literal(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (std::string_view(".^$|()[]{}*+?\\").find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

std::string single_slashes(std::string_view text) {
    std::string out;
    for (char c : text)
        if (!(c == '/' && !out.empty() && out.back() == '/')) out += c;
    return out;
}

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A rule's text as a pattern: each {name} that `placeholder` knows becomes its pattern, the rest of
// the text stands for itself (an unknown {name} too, as the address writers leave it in).
template <class Placeholder>
std::string rule_pattern(std::string_view rule, Placeholder placeholder) {
    std::string out;
    for (size_t at = 0; at < rule.size();) {
        size_t open = rule.find('{', at);
        size_t close = open == std::string_view::npos ? open : rule.find('}', open);
        if (close == std::string_view::npos) {
            out += regex_literal(rule.substr(at));
            break;
        }
        out += regex_literal(rule.substr(at, open - at));
        std::string_view name = rule.substr(open + 1, close - open - 1);
        std::string known = placeholder(name);
        out += known.empty() ? regex_literal(rule.substr(open, close - open + 1)) : known;
        at = close + 1;
    }
    return out;
}

std::string article_placeholder(std::string_view name) {
    if (name == "y") return "\\d{4}";
    if (name == "m" || name == "d") return "\\d{2}";
    if (name == "timestamp") return "\\d+";
    if (name == "aid") return "(\\d+)";
    return {};
}

// An article's addresses by its rule: page P (from 2) ends in "_P" before the extension.
std::string article_pattern(std::string_view rule) {
    size_t slash = rule.rfind('/'), dot = rule.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) dot = rule.size();
    return rule_pattern(rule.substr(0, dot), article_placeholder) + "(?:_(\\d+))?" + regex_literal(rule.substr(dot));
}

// The address rule of a category's articles with the folder filled in, as Site::article_url writes it.
std::string article_address_rule(const SiteLayout& layout, const CategoryLayout* category) {
    std::string rule = category ? lower(category->article_rule) : layout.special_dir + "/arc-{aid}.html";
    rule = replace_all(rule, "{typedir}", category ? category->folder : std::string());
    size_t first = rule.find_first_not_of('/');
    return "/" + (first == std::string::npos ? std::string() : rule.substr(first));
}

std::optional<int64_t> number(std::string_view text) {
    int64_t value = 0;
    if (text.empty() || text.size() > 15) return std::nullopt;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int page_number(std::string_view text) {
    auto page = number(text);
    return page && *page >= 1 && *page <= 1'000'000'000 ? static_cast<int>(*page) : 1;
}

// A query parameter as PHP reads one: the last of that name wins.
std::string_view parameter(std::string_view query, std::string_view name) {
    std::string_view found;
    for (size_t at = 0; at <= query.size();) {
        size_t end = std::min(query.find('&', at), query.size());
        std::string_view pair = query.substr(at, end - at);
        size_t equals = pair.find('=');
        if (pair.substr(0, equals) == name)
            found = equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
        at = end + 1;
    }
    return found;
}

bool plain_path(std::string_view path) {
    if (!path.starts_with('/') || path.find('\\') != std::string_view::npos ||
        path.find('\0') != std::string_view::npos)
        return false;
    for (size_t at = 1; at <= path.size();) {
        size_t end = std::min(path.find('/', at), path.size());
        std::string_view segment = path.substr(at, end - at);
        if (segment == "." || segment == ".." || (segment.empty() && end != path.size())) return false;
        at = end + 1;
    }
    return true;
}

int matched_page(const std::smatch& match, size_t group) {
    return match[group].matched ? page_number(match[group].str()) : 1;
}

}  // namespace

SiteLayout SiteLayout::of(const Site& site) {
    SiteLayout layout;
    layout.cmspath = site.global("cfg_cmspath");
    layout.templets_dir = site.global("cfg_templets_dir");
    layout.medias_dir = site.global("cfg_medias_dir");
    layout.plus_dir = site.global("cfg_plus_dir");
    layout.special_dir = site.global("cfg_special");
    layout.page_ext = site.global("cfg_df_ext");
    for (const auto& [id, category] : site.categories()) {
        auto column = [&](const char* name) {
            auto found = category.columns.find(name);
            return found == category.columns.end() ? std::string() : found->second;
        };
        layout.categories.push_back({id, site.folder(column("typedir")), column("defaultname"), column("namerule2"),
                                     column("namerule"), static_cast<int>(php_int(column("isdefault"))),
                                     static_cast<int>(php_int(column("ispart")))});
    }
    return layout;
}

PageRouter::PageRouter(SiteLayout layout) : layout_(std::move(layout)) {
    for (const CategoryLayout& c : layout_.categories) {
        std::string list =
            single_slashes(replace_all(replace_all(c.list_rule, "{typedir}", c.folder), "{tid}", std::to_string(c.id)));
        list_patterns_.emplace_back(
            rule_pattern(list, [](std::string_view name) { return name == "page" ? "(\\d+)" : ""; }));
    }
    for (size_t k = 0; k <= layout_.categories.size(); ++k) {
        const CategoryLayout* category = k < layout_.categories.size() ? &layout_.categories[k] : nullptr;
        if (category && category->article_rule.empty()) continue;  // such articles take the special rule
        std::string rule = article_address_rule(layout_, category);
        size_t slash = rule.rfind('/');
        std::string folder = rule_pattern(rule.substr(0, slash), article_placeholder);
        article_patterns_.push_back({std::regex(article_pattern(rule)),
                                     std::regex(folder + "/([^/]+?)(?:_(\\d+))?" + regex_literal(layout_.page_ext))});
    }
}

Route PageRouter::route(std::string_view path, std::string_view query) const {
    if (!plain_path(path)) return {};
    Route found = route_page(path, query);
    if (found.kind == Route::Kind::NotFound && !path.ends_with('/')) {
        Route folder = route_page(std::string(path) + "/", {});
        if (folder.kind == Route::Kind::List || folder.kind == Route::Kind::Home)
            return {Route::Kind::Redirect, 0, 1, std::string(path) + "/"};
    }
    return found;
}

Route PageRouter::route_page(std::string_view path, std::string_view query) const {
    const SiteLayout& l = layout_;
    for (auto [folder, kind] :
         {std::pair{&l.templets_dir, Route::Kind::TemplateFile}, {&l.medias_dir, Route::Kind::UploadFile}}) {
        if (!folder->empty() && path.starts_with(*folder + "/") && path.size() > folder->size() + 1 &&
            !path.ends_with('/'))
            return {kind, 0, 1, std::string(path.substr(folder->size() + 1))};
    }
    if (path == l.cmspath + "/" || path == l.cmspath + "/index.html") return {Route::Kind::Home};

    auto known_category = [&](int64_t id) {
        for (const CategoryLayout& c : l.categories)
            if (c.id == id) return c.ispart != 2;
        return false;
    };
    if (path == l.plus_dir + "/list.php") {
        auto tid = number(parameter(query, "tid"));
        if (tid && known_category(*tid)) return {Route::Kind::List, *tid, page_number(parameter(query, "PageNo"))};
        return {};
    }
    if (path == l.plus_dir + "/view.php") {
        auto aid = number(parameter(query, "aid"));
        if (aid && *aid > 0) return {Route::Kind::Article, *aid, page_number(parameter(query, "pageno"))};
        return {};
    }
    const std::string text(path);
    std::smatch match;
    static const std::regex rewritten_view("/view-(\\d+)-(\\d+)\\.html");
    if (path.starts_with(l.plus_dir) &&
        std::regex_match(text.begin() + static_cast<long>(l.plus_dir.size()), text.end(), match, rewritten_view))
        if (auto aid = number(match[1].str())) return {Route::Kind::Article, *aid, page_number(match[2].str())};

    for (size_t k = 0; k < l.categories.size(); ++k) {
        const CategoryLayout& c = l.categories[k];
        if (c.isdefault == -1 || c.ispart == 2 || !c.folder.starts_with('/')) continue;
        if ((c.isdefault == 1 || c.ispart == 1) && (path == c.folder + "/" || path == c.folder + "/" + c.defaultname))
            return {Route::Kind::List, c.id, 1};
        if (c.ispart == 0 && std::regex_match(text, match, list_patterns_[k]))
            return {Route::Kind::List, c.id, matched_page(match, 1)};
    }
    for (const ArticlePattern& p : article_patterns_)
        if (std::regex_match(text, match, p.by_id))
            if (auto aid = number(match[1].str())) return {Route::Kind::Article, *aid, matched_page(match, 2)};
    for (const ArticlePattern& p : article_patterns_)
        if (std::regex_match(text, match, p.by_name))
            return {Route::Kind::NamedArticle, 0, matched_page(match, 2), match[1].str()};
    return {};
}

}  // namespace brindle::dede
