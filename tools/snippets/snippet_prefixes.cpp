#include "tools/snippets/snippet_prefixes.h"

#include <map>
#include <set>
#include <string_view>

namespace brindle::snippets {
namespace {

// Slugs by radio box name: what the entry inserts, in DedeCMS's words where it has them.
const std::map<std::string_view, std::string_view>& slugs() {
    static const std::map<std::string_view, std::string_view> table = {
        // Page 0, header and footer.
        {"单选框_网站名称", "dede-global-webname"},
        {"单选框_站点默认关键字", "dede-global-keywords"},
        {"单选框_网站版权", "dede-global-powerby"},
        {"单选框2", "dede-flink"},
        {"单选框_网站地址", "dede-global-cmsurl"},
        {"单选框_站点描述", "dede-global-description"},
        {"单选框_网站备案号", "dede-global-beian"},
        // Page 1, list pages.
        {"单选框_上传日期", "dede-list-soft-pubdate"},
        {"单选框_上传日期1", "dede-list-soft-rank"},
        {"单选框_上传日期2", "dede-list-soft-language"},
        {"单选框_上传日期3", "dede-list-soft-click"},
        {"单选框_上传日期7", "dede-list-shop-pubdate"},
        {"单选框_上传日期6", "dede-list-shop-price"},
        {"单选框_上传日期5", "dede-list-shop-brand"},
        {"单选框_上传日期4", "dede-list-shop-click"},
        {"单选框18", "dede-list-infolink"},
        {"单选框5", "dede-list-description"},
        {"单选框3", "dede-list-position"},
        {"单选框4", "dede-list-litpic"},
        {"单选框19", "dede-list-pagelist"},
        {"单选框20", "dede-list-pagelist-css"},
        {"单选框1", "dede-list-typelink"},
        // Page 2, content pages.
        {"单选框6", "dede-field-title"},
        {"单选框7", "dede-field-pubdate"},
        {"单选框8", "dede-field-source"},
        {"单选框9", "dede-field-writer"},
        {"单选框10", "dede-field-click"},
        {"单选框11", "dede-field-description"},
        {"单选框12", "dede-field-body"},
        {"单选框13", "dede-pagebreak"},
        {"单选框14", "dede-prenext-pre"},
        {"单选框15", "dede-prenext-next"},
        {"单选框16", "dede-feedback-link"},
        {"单选框17", "dede-digg"},
        {"单选框22", "dede-soft-softtype"},
        {"单选框25", "dede-soft-accredit"},
        {"单选框27", "dede-soft-softsize"},
        {"单选框23", "dede-soft-filetype"},
        {"单选框26", "dede-soft-os"},
        {"单选框28", "dede-soft-softrank"},
        {"单选框24", "dede-soft-officialdemo"},
        {"单选框30", "dede-soft-officialurl"},
        {"单选框29", "dede-soft-downloads"},
        {"单选框31", "dede-soft-image"},
        {"单选框33", "dede-soft-introduce"},
        {"单选框34", "dede-soft-pubdate"},
        {"单选框32", "dede-soft-softlinks"},
        {"单选框35", "dede-soft-softmsg"},
        {"单选框36", "dede-soft-goodpost"},
        {"单选框37", "dede-info-nativeplace"},
        {"单选框41", "dede-info-infotype"},
        {"单选框38", "dede-info-endtime"},
        {"单选框42", "dede-info-pubdate"},
        {"单选框39", "dede-info-tel"},
        {"单选框43", "dede-info-email"},
        {"单选框40", "dede-info-address"},
        {"单选框44", "dede-info-image"},
        {"单选框45", "dede-info-body"},
        {"单选框46", "dede-shop-price"},
        {"单选框49", "dede-shop-trueprice"},
        {"单选框50", "dede-shop-brand"},
        {"单选框48", "dede-shop-units"},
        {"单选框47", "dede-shop-click"},
        {"单选框52", "dede-shop-cart"},
        {"单选框53", "dede-shop-buy"},
        {"单选框_收藏", "dede-action-stow"},
        {"单选框_推荐", "dede-action-recommend"},
        {"单选框_挑错", "dede-action-erradd"},
        {"单选框_打印", "dede-action-print"},
        // Page 5, SQL.
        {"单选框_内容统计12", "dede-sql-clear-keywords"},
        {"单选框_内容统计", "dede-sql-stats"},
        {"单选框_内容统计2", "dede-sql-member-faces"},
        {"单选框_内容统计4", "dede-sql-replace-body"},
        {"单选框_内容统计5", "dede-sql-member-scores"},
        {"单选框_UCenterHome会员", "dede-sql-uchome-members"},
        {"单选框_内容统计10", "dede-sql-company-vocation"},
        {"单选框_内容统计1", "dede-sql-uchome-blogs"},
        {"单选框_内容统计9", "dede-sql-company-products"},
        {"单选框_内容统计8", "dede-sql-discuz-attachments"},
        {"单选框_内容统计11", "dede-sql-company-info"},
        {"单选框_内容统计3", "dede-sql-discuz-threads"},
        {"单选框_内容统计7", "dede-sql-member-articles"},
    };
    return table;
}

// "dede-" and the name of the first {dede:NAME (or "field-" and that of [field:NAME) in the text, lower case, with
// anything but letters and digits turned into dashes; "dede-snippet" when there is none.
std::string derived_prefix(std::string_view text) {
    size_t best = std::string_view::npos, start = 0;
    std::string slug;
    for (std::string_view opener : {std::string_view("{dede:"), std::string_view("[field:")}) {
        size_t at = text.find(opener);
        if (at < best) {
            best = at;
            start = at + opener.size();
            slug = opener[1] == 'f' ? "field-" : "";
        }
    }
    if (best != std::string_view::npos)
        for (size_t k = start; k < text.size(); ++k) {
            char c = text[k];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            bool word = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            if (!word && c != '.' && c != '_') break;
            if (!word) c = '-';
            if (c == '-' && (slug.empty() || slug.back() == '-')) continue;
            slug += c;
        }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    return "dede-" + (slug.empty() || slug == "field" ? std::string("snippet") : slug);
}

}  // namespace

std::vector<std::string> snippet_prefixes(const std::vector<Fragment>& fragments) {
    // Table slugs first, so an entry added to the palette can never push a known one aside.
    std::vector<std::string> out(fragments.size());
    std::set<std::string> taken;
    for (size_t i = 0; i < fragments.size(); ++i)
        if (auto known = slugs().find(fragments[i].control); known != slugs().end()) {
            out[i] = known->second;
            taken.insert(out[i]);
        }
    for (size_t i = 0; i < fragments.size(); ++i) {
        if (!out[i].empty()) continue;
        std::string base = derived_prefix(fragments[i].text);
        std::string prefix = base;
        for (int n = 2; taken.contains(prefix); ++n) prefix = base + "-" + std::to_string(n);
        taken.insert(prefix);
        out[i] = std::move(prefix);
    }
    return out;
}

}  // namespace brindle::snippets
