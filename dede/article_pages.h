#pragma once
// An article's text in pages, as DedeCMS splits it: "#p#" between pages, and a page that opens with
// "SUBTITLE#e#" has a subtitle. Then the links between the pages: {dede:pagebreak} (the page
// numbers) and {dede:pagetitle} (the subtitles, as links or as a <select>).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dede/site_charset.h"

namespace brindle::dede {

struct ArticlePages {
    std::vector<std::string> texts;   // one a page, at least one
    std::vector<std::string> titles;  // the subtitles, in page order (pages without one left out)
};

// DedeCMS looks for "#e#" in the first 50 bytes of a page (in the site's encoding, cut as cn_substr
// cuts) and takes the subtitle as the bytes before it, cut the same way, so the UTF-8 edition keeps
// the '#' that its cut's overshoot takes. A page whose "#e#" is past that, or opens it, keeps it in
// its text. Subtitles "", "副标题" and "分页标题" are dropped.
ArticlePages split_pages(std::string_view text, SiteCharset charset);

// Where the pages of one article are.
struct PageAddresses {
    bool dynamic = false;  // through /plus/view.php, else files beside the article's own
    int64_t aid = 0;
    std::string name, extension;  // a static article's file name, without its extension
    bool rewritten = false;       // cfg_rewrite: view-A-N.html for view.php's links
    std::string phpurl;           // cfg_phpurl, for the dynamic subtitle list's options
};

// {dede:pagebreak}: "" for an article of one page.
std::string page_break(const PageAddresses& at, size_t total, size_t now);
// {dede:pagetitle style=...}: "" without pages or subtitles. DedeCMS numbers the subtitles, not the
// pages, so the n-th subtitle links to page n whichever page it opens.
std::string page_titles(const PageAddresses& at, const ArticlePages& pages, std::string_view style, size_t now);

}  // namespace brindle::dede
