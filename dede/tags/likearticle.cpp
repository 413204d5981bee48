// {dede:likearticle}: articles like the page's, by up to three of its keywords, from its category
// and those below (mytypeid= another), the page's own article left out.
#include "dede/article_rows.h"
#include "dede/php_text.h"
#include "dede/tags/libraries.h"

namespace brindle::dede {
namespace {

constexpr int kKeywordsLooked = 3;

// An attribute, or its default when the tag leaves it out (one given empty stays empty).
std::string attribute(const TagAttributes& a, std::string_view name, std::string_view fallback) {
    return std::string(a.has(name) ? a.get(name) : fallback);
}

bool php_empty(std::string_view value) { return value.empty() || value == "0"; }

}  // namespace

std::string likearticle(TagCall& call) {
    const TagAttributes& a = call.tag.attributes;
    Site& site = call.renderer.site();
    const Row& fields = call.page.fields;
    auto field = [&](const char* name) -> std::optional<std::string> {
        auto found = fields.find(name);
        return found == fields.end() ? std::nullopt : std::optional(found->second);
    };
    const long long rows = php_int(attribute(a, "row", "12"));
    long long col = php_int(attribute(a, "col", "1"));
    if (col == 0) col = 1;
    std::string tablewidth = attribute(a, "tablewidth", "100");
    if (php_empty(tablewidth)) tablewidth = "100";

    std::string typeid_ = attribute(a, "mytypeid", "0");
    if (php_empty(typeid_)) typeid_ = field("typeid").value_or("");
    if (php_empty(typeid_))
        typeid_.clear();
    else if (typeid_.find(',') == std::string::npos)
        typeid_ = joined(site.category_and_below(static_cast<int>(php_int(typeid_))));
    else
        typeid_ = id_list(typeid_);

    std::string like;
    int looked = 0;
    const std::string given = field("keywords").value_or("");
    const std::string keywords = php_empty(given) ? "" : php_trim(given);
    for (size_t from = 0; !keywords.empty() && looked < kKeywordsLooked && from <= keywords.size();) {
        const size_t comma = keywords.find(',', from);
        const std::string one = keywords.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        from = comma == std::string::npos ? keywords.size() + 1 : comma + 1;
        if (php_trim(one).empty()) continue;
        like += std::string(like.empty() ? "" : " OR") + " CONCAT(arc.keywords,' ',arc.title) LIKE " +
                site.database().quote("%" + one + "%") + " ";
        ++looked;
    }

    // The page's article: a page with an id but no article (a list) leaves DedeCMS a query that fails.
    std::string aid = "0";
    if (!php_empty(field("id").value_or(""))) {
        if (!field("aid")) return {};
        aid = std::to_string(php_int(*field("aid")));
    }
    std::string where = " arc.arcrank>-1 ";
    if (!like.empty()) where += " AND (" + like + ") ";
    if (!typeid_.empty())
        where += " AND arc.typeid IN(" + typeid_ + ") AND arc.id<>" + aid + " ";
    else if (like.empty())
        return {};  // DedeCMS's query has no condition after its AND and fails

    const std::string orderway = attribute(a, "orderway", "desc") == "asc" ? "asc" : "desc";
    const std::string orderby = attribute(a, "orderby", "");
    std::string order;
    if (orderby == "hot" || orderby == "click")
        order = " ORDER BY arc.click " + orderway;
    else if (orderby == "id" || orderby == "lastpost" || orderby == "scores" || orderby == "senddate" ||
             orderby == "weight" || orderby == "goodpost" || orderby == "badpost")
        order = " ORDER BY arc." + orderby + " " + orderway;
    else if (orderby == "near")
        order = " ORDER BY ABS(arc.id - " + aid + ")";
    else if (orderby == "rand")
        order = " ORDER BY rand()";
    else
        order = " ORDER BY arc.sortrank " + orderway;

    auto result = site.database().select(site.sql(
        "SELECT arc.*,tp.typedir,tp.typename,tp.corank,tp.isdefault,tp.defaultname,tp.namerule,tp.namerule2,tp.ispart,"
        "tp.moresite,tp.siteurl,tp.sitepath FROM `#@__archives` arc LEFT JOIN `#@__arctype` tp ON arc.typeid=tp.id WHERE" +
        where + order + " LIMIT 0, " + std::to_string(rows)));
    if (!result) {
        call.renderer.report(call.file, call.tag.begin, "{dede:likearticle}: " + result.error().message);
        return {};
    }
    ArticleRowStyle style;
    style.title_length = static_cast<size_t>(php_int(attribute(a, "titlelen", "28")));
    style.info_length = static_cast<size_t>(php_int(attribute(a, "infolen", "150")));
    style.image_width = attribute(a, "imgwidth", "120");
    style.image_height = attribute(a, "imgheight", "90");
    std::vector<Row> found;
    for (size_t i = 0; i < result->rows.size(); ++i) {
        Row row = row_at(*result, i);
        add_article_fields(site, row, style);
        found.push_back(std::move(row));
    }
    std::string body = php_trim(call.tag.body);
    if (body.empty()) body = call.renderer.system_template("part_arclist.htm");
    call.renderer.set_global("autoindex", "0");
    return fill_article_rows(call, body, found, rows, col, tablewidth);
}

}  // namespace brindle::dede
