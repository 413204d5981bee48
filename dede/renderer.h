#pragma once
// Renders DedeCMS templates as DedeCMS does: each tag of a page gets its value from its tag library
// or from the page's own fields, then the parser's own tags (global, include, var, foreach) and
// runphp, then the text is put back together. Tags that nothing fills print nothing.
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/result.h"
#include "dede/site.h"
#include "dede/tag_parser.h"

namespace brindle::dede {

// What templates do in PHP: a field function (function='MyDate("Y-m-d",@me)') and a runphp body.
class PhpCode {
public:
    virtual ~PhpCode() = default;
    // `expression` with @me standing for `me`; "" when PHP would call the result empty.
    virtual Result<std::string> call_function(std::string_view expression, std::string_view me) = 0;
    // A runphp body that reads and sets @me; @me afterwards.
    virtual Result<std::string> run_php(std::string_view code, std::string_view me) = 0;
    // The same with @me a whole row ([field:array]).
    virtual Result<std::string> call_function(std::string_view expression, const Row& me) = 0;
    virtual Result<std::string> run_php(std::string_view code, const Row& me) = 0;
};

// Something a render noticed, at a byte offset of one template file.
struct RenderIssue {
    std::string file;
    size_t offset = 0;
    std::string message;
    bool error = true;  // false: a warning
};

class Renderer;
struct TagCall;

// The page being rendered: which view, the current category, and its fields ({dede:field.NAME/}).
struct Page {
    enum class View { Index, List, Article };
    View view = View::Index;
    int typeid_ = 0;
    Row fields;
    // The view's own tags (list, pagelist, ...), filled after the tag libraries as DedeCMS does;
    // none for a tag the view does not fill. Files the page includes have none of them.
    std::function<std::optional<std::string>(TagCall&)> view_tags;
    // The view gives {dede:field} its value (an article page gives one to every field, "" to a
    // missing one, so its function still runs); else the page's own field, when it has one.
    bool view_fills_fields = false;
    // DedeCMS's parser prints its notice for a tag that never ends; the HTML generator's notices go to
    // the screen of whoever runs it, not into the file it writes.
    bool parse_notices_in_page = true;
};

// What a tag library gets: the tag, the page, and the renderer for item templates and values.
struct TagCall {
    Renderer& renderer;
    const ParsedTag& tag;
    Page& page;
    std::string_view file;
};
using TagLibrary = std::function<std::string(TagCall&)>;

class Renderer {
public:
    // `templets` is the site's templets/ folder; `php` may be null (no function or runphp then runs).
    Renderer(Site& site, std::filesystem::path templets, PhpCode* php);

    // A page template: what DedeCMS sends for it.
    std::string render_page(std::string_view source, Page& page, std::string_view file);
    // A template file read as DedeCMS reads templates, as UTF-8 text: a GBK site's files are decoded;
    // a UTF-8 site's bytes are kept as they are, with a warning at the first that is not UTF-8. None
    // when it is missing or not a regular file.
    std::optional<std::string> read_template(const std::filesystem::path& path);
    // The warning for text that is not UTF-8, once per file.
    void check_utf8(std::string_view file, std::string_view text);

    // An item template (at offset `at` of `file`) filled with each row in turn. `count_rows` sets the
    // global autoindex as the tag libraries do (from `first_index`), before each row is filled.
    std::string fill_items(std::string_view item_template, const std::vector<Row>& rows, std::string_view file, size_t at,
                           std::string_view row_end = "", bool count_rows = true, int first_index = 1);
    // A value given to a tag: the banned words masked, then the tag's function applied.
    std::string assign(const ParsedTag& tag, std::string value, std::string_view file, size_t at = 0);
    // templets/system/NAME, the default item template of a tag library.
    std::string system_template(std::string_view name);

    // The category and those above it, joined with commas, with every category this render asked
    // about before: DedeCMS keeps that list for the whole page and never clears it, and the
    // stored blocks it picks depend on it.
    std::string parent_ids(int id);

    // The friend-link group that {dede:flinktype} last chose: it applies to every flink after it.
    std::optional<long long> flink_group() const { return flink_group_; }
    void set_flink_group(long long id) { flink_group_ = id; }
    // The flink tags of a flinktype body filled, the rest of it left as it is.
    std::string render_flinks(std::string_view body, Page& page, std::string_view file);

    // A PHP global as templates see it: what this render set (autoindex, itemindex, ...) over the
    // site's settings. A render starts with none of its own, as each DedeCMS request does.
    std::string global(const std::string& name) const;
    void set_global(std::string name, std::string value) { page_globals_[std::move(name)] = std::move(value); }

    Site& site() { return site_; }
    const std::vector<RenderIssue>& issues() const { return issues_; }
    // The files {dede:include} read, each once, in the order first read.
    const std::vector<std::string>& included_files() const { return included_; }
    // One issue a place: a fault in an item template is met once per row.
    void report(std::string_view file, size_t offset, std::string message, bool error = true);

private:
    // `row` is the row of an item template, which [field:array] hands to PHP whole.
    std::string assemble(std::string_view source, const ParsedTemplate& parsed, std::vector<std::string> values,
                         std::string_view file, size_t at, Page* page, const Row* row = nullptr);
    // A PHP call's result, or "" with the error reported at the tag.
    std::string php_result(Result<std::string> result, const ParsedTag& tag, std::string_view file, size_t at);
    std::string include_file(const ParsedTag& tag, Page* page);

    Site& site_;
    std::filesystem::path templets_;
    PhpCode* php_;
    std::unordered_map<std::string, TagLibrary> libraries_;
    std::vector<RenderIssue> issues_;
    std::vector<std::string> included_;
    std::optional<std::regex> banned_words_;  // cfg_replacestr; none when empty or not a pattern
    int include_depth_ = 0;
    std::vector<int> parent_ids_seen_;
    std::optional<long long> flink_group_;
    std::unordered_map<std::string, std::string> page_globals_;
};

// Where a tag's body starts once PHP's trim() has taken its leading blanks, as the libraries that
// trim their item template see it.
size_t trimmed_body_at(const ParsedTag& tag);

// The library tags, by name (aliases included).
std::unordered_map<std::string, TagLibrary> tag_libraries();

}  // namespace brindle::dede
