// {dede:tag}: the site's tags, the current article's or all of them, newest, most used or at random.
#include <random>

#include "dede/php_text.h"
#include "dede/tags/libraries.h"

namespace brindle::dede {
namespace {

// PHP's htmlspecialchars with quotes, as DedeCMS calls it.
std::string html_escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#039;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string tag(TagCall& call) {
    const TagAttributes& a = call.tag.attributes;
    Site& site = call.renderer.site();
    std::string body = call.tag.body;
    if (body.find_first_not_of(" \t\r\n") == std::string::npos) body = call.renderer.system_template("tag_one.htm");
    const long long rows = a.get("row").empty() ? 30 : php_int(a.get("row"));
    const std::string sort = a.get("sort").empty() ? "new" : std::string(a.get("sort"));
    std::string where;
    auto aid = call.page.fields.find("aid");
    const bool of_article = call.page.fields.contains("tags") && aid != call.page.fields.end() && php_int(aid->second) != 0;
    if (php_int(a.get("getall")) == 0 && of_article) {
        auto ids = site.database().select(site.sql("SELECT tid FROM `#@__taglist` WHERE aid = '" +
                                                   std::to_string(php_int(aid->second)) + "' "));
        std::string list;
        if (ids)
            for (const auto& row : ids->rows) list += (list.empty() ? "" : ",") + std::to_string(php_int(row[0].value_or("")));
        if (list.empty()) return {};
        where = " WHERE id IN(" + list + ") ";
    } else if (php_int(a.get("typeid")) != 0) {
        where = " WHERE typeid='" + std::to_string(php_int(a.get("typeid"))) + "' ";
    }
    std::string order = sort == "rand"    ? "rand() "
                        : sort == "week"  ? " weekcc DESC "
                        : sort == "month" ? " monthcc DESC "
                        : sort == "hot"   ? " count DESC "
                        : sort == "total" ? " total DESC "
                                          : "addtime DESC  ";
    auto result = site.database().select(site.sql("SELECT * FROM `#@__tagindex` " + where + " ORDER BY " + order +
                                                  " LIMIT 0," + std::to_string(rows)));
    if (!result) {
        call.renderer.report(call.file, call.tag.begin, "{dede:tag}: " + result.error().message);
        return {};
    }
    // DedeCMS's highlight level is drawn by chance; here from the site's clock, so one time gives one page.
    std::mt19937 chance(static_cast<unsigned>(site.clock().now));
    auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(chance); };
    std::vector<Row> rows_out;
    for (size_t i = 0; i < result->rows.size(); ++i) {
        Row row = row_at(*result, i);
        row["keyword"] = row["tag"];
        row["tag"] = html_escaped(row["tag"]);
        row["link"] = site.global("cfg_cmsurl") + "/tags.php?/" + url_encoded(row["keyword"], site.charset()) + "/";
        if (php_int(row["monthcc"]) > 1000 || php_int(row["weekcc"]) > 300) row["highlight"] = std::to_string(draw(3, 4));
        else if (php_int(row["count"]) > 3000) row["highlight"] = std::to_string(draw(5, 6));
        else row["highlight"] = std::to_string(draw(1, 2));
        rows_out.push_back(std::move(row));
    }
    return call.renderer.fill_items(body, rows_out, call.file, call.tag.body_at, "", false);
}

}  // namespace brindle::dede
