#include "dede/article_pages.h"

#include "common/gbk.h"
#include "dede/php_text.h"
#include "dede/text_cut.h"

namespace brindle::dede {
namespace {

constexpr std::string_view kPageMark = "#p#", kTitleMark = "#e#";
constexpr size_t kTitleSearchLength = 50;

// Page n of the page numbers: a file beside the article's, or view.php.
std::string page_address(const PageAddresses& at, size_t page) {
    const std::string aid = std::to_string(at.aid), n = std::to_string(page);
    if (!at.dynamic) return page == 1 ? at.name + "." + at.extension : at.name + "_" + n + "." + at.extension;
    if (at.rewritten) return "view-" + aid + "-" + n + ".html";
    return page == 1 ? "view.php?aid=" + aid : "view.php?aid=" + aid + "&pageno=" + n;
}

// Page n of the subtitles: view.php always names the page there, the list's options in full.
std::string title_address(const PageAddresses& at, size_t page, bool option) {
    if (!at.dynamic) return page_address(at, page);
    const std::string view = "view.php?aid=" + std::to_string(at.aid) + "&pageno=" + std::to_string(page);
    return option ? at.phpurl + "/" + view : view;
}

}  // namespace

ArticlePages split_pages(std::string_view text, SiteCharset charset) {
    ArticlePages pages;
    for (size_t from = 0;;) {
        const size_t mark = text.find(kPageMark, from);
        std::string page(text.substr(from, mark == std::string_view::npos ? std::string_view::npos : mark - from));
        const std::string head = cut_text(page, kTitleSearchLength, charset);
        const size_t title_end = head.find(kTitleMark);
        if (title_end != std::string::npos && title_end > 0) {
            const size_t title_bytes =
                charset == SiteCharset::gbk ? utf8_to_gb18030(head.substr(0, title_end)).size() : title_end;
            const std::string title = php_trim(cut_text(head, title_bytes, charset));
            page.erase(0, page.rfind(kTitleMark) + kTitleMark.size());
            if (!title.empty() && title != "副标题" && title != "分页标题") pages.titles.push_back(title);
        }
        pages.texts.push_back(std::move(page));
        if (mark == std::string_view::npos) break;
        from = mark + kPageMark.size();
    }
    return pages;
}

std::string page_break(const PageAddresses& at, size_t total, size_t now) {
    if (total <= 1) return {};
    std::string out = "<li><a>共" + std::to_string(total) + "页: </a></li>";
    out += now == 1 ? "<li><a href='#'>上一页</a></li>"
                    : "<li><a href='" + page_address(at, now - 1) + "'>上一页</a></li>";
    for (size_t page = 1; page <= total; ++page) {
        const std::string n = std::to_string(page);
        if (page != now)
            out += "<li><a href='" + page_address(at, page) + "'>" + n + "</a></li>";
        else if (page == 1 && at.dynamic)
            out += "<li class=\"thisclass\"><a>1</a></li>";
        else
            out += "<li class=\"thisclass\"><a href='#'>" + n + "</a></li>";
    }
    out += now + 1 <= total ? "<li><a href='" + page_address(at, now + 1) + "'>下一页</a></li>"
                            : "<li><a href='#'>下一页</a></li>";
    return out;
}

std::string page_titles(const PageAddresses& at, const ArticlePages& pages, std::string_view style, size_t now) {
    if (pages.texts.size() <= 1 || pages.titles.empty()) return {};
    std::string out;
    size_t n = 1;
    if (style == "link") {
        for (const std::string& title : pages.titles) {
            if (n != 1 && n == now)
                out += " " + title + " \r\n";
            else
                out += "<a href='" + title_address(at, n, false) + "'>" + title + "</a> \r\n";
            ++n;
        }
        return out;
    }
    out = "<select id='dedepagetitles' onchange='location.href=this.options[this.selectedIndex].value;'>\r\n";
    for (const std::string& title : pages.titles) {
        const std::string number = std::to_string(n);
        out += "<option value='" + title_address(at, n, true) + "'" + (n != 1 && n == now ? " selected" : "") + ">" +
               number + "、" + title + "</option>\r\n";
        ++n;
    }
    return out + "</select>\r\n";
}

}  // namespace brindle::dede
