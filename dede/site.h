#pragma once
// A DedeCMS site as its templates see it: the settings (the cfg_* globals, with those DedeCMS
// derives at start), the category tree, and the rules that turn rows into addresses.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/result.h"
#include "dede/site_charset.h"
#include "dede/site_database.h"

namespace brindle::dede {

// One row of a query, by column name; DedeCMS adds computed fields to the same map.
using Row = std::unordered_map<std::string, std::string>;

Row row_at(const QueryResult& result, size_t index);
// A row's value, "" when it has none (as PHP reads a missing key).
std::string value_in(const Row& row, const std::string& name);

struct Category {
    int id = 0, reid = 0, topid = 0;
    Row columns;  // every column of dede_arctype
};

struct SiteOptions {
    std::string table_prefix = "dede_";
    SiteClock clock;
    // What the site's text is in: the engine works in UTF-8 and a GBK site's values come decoded
    // (gbk_site.h), but lengths and addresses follow the site's own bytes.
    SiteCharset charset = SiteCharset::utf8;
};

class Site {
public:
    static Result<Site> load(SiteDatabase& database, const SiteOptions& options);

    SiteDatabase& database() const { return *database_; }
    const SiteClock& clock() const { return options_.clock; }
    SiteCharset charset() const { return options_.charset; }
    // A rendered page's bytes as the site sends them: GBK (GB18030 where GBK has no form) or UTF-8.
    std::string in_site_encoding(std::string_view page) const;
    // "#@__archives" written with the site's prefix.
    std::string sql(std::string_view with_placeholders) const;

    // A cfg_* value (or another global DedeCMS sets at start); "" when there is none.
    std::string global(std::string_view name) const;
    const std::unordered_map<std::string, std::string>& globals() const { return globals_; }
    // Hours added to UTC for the site's own dates (cfg_cli_time).
    int hours_from_utc() const;

    const Category* category(int id) const;
    // Every category, by id.
    const std::map<int, Category>& categories() const { return categories_; }
    // The category and every one below it, the category first; with a channel, only the categories
    // below of that channel.
    std::vector<int> category_and_below(int id, int channel = 0) const;
    std::vector<const Category*> children(int id) const;  // in the site's order

    // A category's own folder, {cmspath} filled in and doubled slashes made single.
    std::string folder(std::string_view typedir) const;
    // The address of a category's list, by its columns (isdefault, ispart, namerule2, ...).
    std::string category_url(const Row& columns) const;
    // The address of an article from its row joined with its category's columns.
    std::string article_url(const Row& row) const;
    // The same on the site itself (no host when the site gives full addresses): a static article's
    // file, or view.php for a dynamic one.
    std::string article_path(const Row& row) const;
    // A time as 'Y-m-d' in the site's zone; "暂无" for 0.
    std::string date(int64_t time) const;

private:
    SiteDatabase* database_ = nullptr;
    SiteOptions options_;
    std::unordered_map<std::string, std::string> globals_;
    std::map<int, Category> categories_;
    std::vector<int> order_;  // categories by sortrank, id
};

}  // namespace brindle::dede
