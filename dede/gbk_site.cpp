#include "dede/gbk_site.h"

#include <algorithm>

#include "common/gbk.h"
#include "common/try.h"

namespace brindle::dede {
namespace {

// GB18030 bytes with each 0x5C that ends a two-byte character doubled. Four-byte sequences end in a
// digit, never in 0x5C.
std::string with_trailing_backslashes_doubled(const std::string& gbk) {
    std::string out;
    for (size_t i = 0; i < gbk.size(); ++i) {
        const auto byte = static_cast<unsigned char>(gbk[i]);
        out += gbk[i];
        if (byte < 0x81 || i + 1 >= gbk.size()) continue;
        const auto second = static_cast<unsigned char>(gbk[i + 1]);
        const size_t length = second >= 0x30 && second <= 0x39 ? 4 : 2;
        out.append(gbk, i + 1, length - 1);
        if (length == 2 && second == 0x5C) out += '\\';
        i += length - 1;
    }
    return out;
}

class GbkTextSite : public SiteDatabase {
public:
    explicit GbkTextSite(std::unique_ptr<SiteDatabase> site) : site_(std::move(site)) {}

    Result<QueryResult> select(std::string_view sql) override {
        BRINDLE_TRY(QueryResult result, site_->select(sql_in_gbk(sql, site_->backslash_escapes())));
        for (std::string& column : result.columns) column = gbk_to_utf8(column);
        for (auto& row : result.rows)
            for (auto& value : row)
                if (value) *value = gbk_to_utf8(*value);
        return result;
    }
    std::string quote(std::string_view text) const override { return site_->quote(text); }
    bool backslash_escapes() const override { return site_->backslash_escapes(); }

private:
    std::unique_ptr<SiteDatabase> site_;
};

}  // namespace

std::string sql_in_gbk(std::string_view sql, bool backslash_escapes) {
    if (!backslash_escapes) return utf8_to_gb18030(sql);
    // Only literals need care; comments are skipped whole so that a quote in one opens nothing.
    std::string out;
    size_t plain_from = 0;
    auto flush_plain = [&](size_t to) { out += utf8_to_gb18030(sql.substr(plain_from, to - plain_from)); };
    for (size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            size_t end = i + 1;
            while (end < sql.size() && sql[end] != c) end += sql[end] == '\\' ? 2 : 1;
            end = std::min(end + 1, sql.size());
            flush_plain(i);
            out += with_trailing_backslashes_doubled(utf8_to_gb18030(sql.substr(i, end - i)));
            plain_from = i = end;
        } else if (c == '`') {
            const size_t close = sql.find('`', i + 1);
            i = close == std::string_view::npos ? sql.size() : close + 1;
        } else if (c == '#' || (c == '-' && sql.substr(i, 3) == "-- ")) {
            const size_t newline = sql.find('\n', i);
            i = newline == std::string_view::npos ? sql.size() : newline + 1;
        } else if (c == '/' && sql.substr(i, 2) == "/*") {
            const size_t close = sql.find("*/", i + 2);
            i = close == std::string_view::npos ? sql.size() : close + 2;
        } else {
            ++i;
        }
    }
    flush_plain(sql.size());
    return out;
}

std::unique_ptr<SiteDatabase> gbk_text_site(std::unique_ptr<SiteDatabase> gbk_site) {
    return std::make_unique<GbkTextSite>(std::move(gbk_site));
}

}  // namespace brindle::dede
