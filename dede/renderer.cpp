#include "dede/renderer.h"

#include <algorithm>
#include <regex>

#include "common/gbk.h"
#include "common/hex.h"
#include "common/input_file.h"
#include "common/utf8.h"

#include "dede/pages.h"
#include "dede/php_text.h"

namespace brindle::dede {
namespace {

// Included files may include others; DedeCMS has no limit, a preview must not loop forever.
constexpr int kIncludeDepthLimit = 16;

// [field:key /] and [field:value /] of a foreach body: found by pattern, with at least one blank
// before the "/]" (DedeCMS's own pattern, so [field:key/] stays as written).
std::string replace_item_field(std::string text, std::string_view name, std::string_view value) {
    const std::string head = "[field:" + std::string(name);
    for (size_t at = 0; (at = text.find(head, at)) != std::string::npos;) {
        size_t end = at + head.size();
        while (end < text.size() && std::string_view(" \t\r\n\f").find(text[end]) != std::string_view::npos) ++end;
        if (end > at + head.size() && text.compare(end, 2, "/]") == 0) {
            text.replace(at, end + 2 - at, value);
            at += value.size();
        } else {
            at = end;
        }
    }
    return text;
}

}  // namespace

size_t trimmed_body_at(const ParsedTag& tag) {
    size_t blanks = tag.body.find_first_not_of(kPhpBlanks);
    return tag.body_at + (blanks == std::string::npos ? 0 : blanks);
}

Renderer::Renderer(Site& site, std::filesystem::path templets, PhpCode* php)
    : site_(site), templets_(std::move(templets)), php_(php), libraries_(tag_libraries()) {
    // The site's banned words, compiled once for every value of the render. Case matters only to
    // letters: a pattern without any is matched as it is, which is much quicker.
    const std::string banned = site_.global("cfg_replacestr");
    if (banned.empty()) return;
    const bool letters =
        std::any_of(banned.begin(), banned.end(), [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
    try {
        banned_words_.emplace(banned, letters ? std::regex::ECMAScript | std::regex::icase : std::regex::ECMAScript);
    } catch (const std::regex_error&) {
        // DedeCMS's pattern is the site's own setting; one that does not compile masks nothing.
    }
}

void Renderer::report(std::string_view file, size_t offset, std::string message, bool error) {
    for (const RenderIssue& seen : issues_)
        if (seen.offset == offset && seen.file == file && seen.message == message) return;
    issues_.push_back({std::string(file), offset, std::move(message), error});
}

std::optional<std::string> Renderer::read_template(const std::filesystem::path& path) {
    auto bytes = read_input_file(path.string());
    if (!bytes) return std::nullopt;
    std::string text(bytes->begin(), bytes->end());
    if (site_.charset() == SiteCharset::gbk)
        text = gbk_to_utf8(text);
    else
        check_utf8(path.string(), text);
    // DedeCMS reads line by line and stops at a line that reads as false: a last line "0".
    if (text.size() >= 1 && text.back() == '0' && (text.size() == 1 || text[text.size() - 2] == '\n')) text.pop_back();
    return text;
}

std::string Renderer::parent_ids(int id) {
    for (int guard = 0; guard < 64; ++guard) {  // a loop in the tree must not hang the render
        parent_ids_seen_.push_back(id);
        const Category* category = site_.category(id);
        if (!category || category->reid == 0) break;
        id = category->reid;
    }
    std::string out;
    for (int seen : parent_ids_seen_) out += (out.empty() ? "" : ",") + std::to_string(seen);
    return out;
}

std::string Renderer::global(const std::string& name) const {
    auto own = page_globals_.find(name);
    return own != page_globals_.end() ? own->second : site_.global(name);
}

void Renderer::check_utf8(std::string_view file, std::string_view text) {
    for (size_t p = 0; p < text.size();) {
        const size_t length = utf8_sequence_length(text, p);
        if (length == 0) {
            report(
                file, p,
                "byte " + hex(static_cast<unsigned char>(text[p])) + " is not UTF-8 text; the page carries it as it is",
                false);
            return;
        }
        p += length;
    }
}

std::string Renderer::system_template(std::string_view name) {
    return read_template(templets_ / "system" / name).value_or("");
}

std::string Renderer::assign(const ParsedTag& tag, std::string value, std::string_view file, size_t at) {
    if (banned_words_ && !value.empty()) {
        try {
            value = std::regex_replace(value, *banned_words_, "***");
        } catch (const std::regex_error&) {
            // Too complex a match for this value: masked nowhere, as a pattern that does not compile.
        }
    }
    std::string_view function = tag.attributes.get("function");
    if (function.empty()) return value;
    if (!php_) {
        report(file, at + tag.begin, "function='" + std::string(function) + "' needs PHP, which this preview has not started");
        return {};
    }
    auto called = php_->call_function(function, value);
    if (!called) {
        report(file, at + tag.begin, called.error().message);
        return {};
    }
    return *called;
}

std::string Renderer::include_file(const ParsedTag& tag, Page* page) {
    std::string name(tag.attributes.get("file").empty() ? tag.attributes.get("filename") : tag.attributes.get("file"));
    if (name.empty()) return {};
    std::filesystem::path found = templets_ / name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(found, ec)) found = templets_ / site_.global("cfg_df_style") / name;
    auto text = std::filesystem::is_regular_file(found, ec) ? read_template(found) : std::nullopt;
    if (!text) return "无法在这个位置找到： " + name;
    if (std::find(included_.begin(), included_.end(), found.string()) == included_.end())
        included_.push_back(found.string());
    if (tag.attributes.get("ismake") == "no") return *text;
    if (include_depth_ >= kIncludeDepthLimit) {
        report(found.string(), 0, "included more than " + std::to_string(kIncludeDepthLimit) + " files deep: not read");
        return {};
    }
    ++include_depth_;
    // DedeCMS parses an included file with the tag libraries and the page's fields only.
    Page included = page ? *page : Page{};
    included.view_tags = nullptr;
    included.view_fills_fields = false;
    std::string out = render_page(*text, included, found.string());
    --include_depth_;
    return out;
}

std::string Renderer::php_result(Result<std::string> result, const ParsedTag& tag, std::string_view file, size_t at) {
    if (result) return std::move(*result);
    report(file, at + tag.begin, result.error().message);
    return {};
}

std::string Renderer::assemble(std::string_view source, const ParsedTemplate& parsed, std::vector<std::string> values,
                               std::string_view file, size_t at, Page* page, const Row* row) {
    std::unordered_map<std::string, std::string> vars;  // {dede:var}: one parse's own
    for (size_t i = 0; i < parsed.tags.size(); ++i) {
        const ParsedTag& tag = parsed.tags[i];
        if (tag.name == "global") {
            std::string value = global(php_trim(tag.attributes.get("name")));
            if (!tag.attributes.get("function").empty()) {
                std::string_view function = tag.attributes.get("function");
                if (!php_) {
                    report(file, at + tag.begin, "function='" + std::string(function) + "' needs PHP, which this preview has not started");
                    value.clear();
                } else if (auto called = php_->call_function(function, value)) {
                    value = *called;
                } else {
                    report(file, at + tag.begin, called.error().message);
                    value.clear();
                }
            }
            values[i] = value;
        } else if (tag.name == "include") {
            values[i] = include_file(tag, page);
        } else if (tag.name == "foreach") {
            values[i].clear();
            if (tag.attributes.get("array") == "PubFields")
                for (const auto& [key, value] : public_fields(site_))
                    values[i] += replace_item_field(replace_item_field(tag.body, "key", key), "value", value);
        } else if (tag.name == "var") {
            std::string name(tag.attributes.get("name"));
            std::string_view set = tag.attributes.get("value");
            if (name.empty()) values[i].clear();
            else if (!set.empty()) vars[name] = std::string(set), values[i].clear();
            else values[i] = vars.contains(name) ? vars[name] : std::string();
        }
        if (tag.attributes.get("runphp") == "yes") {
            const bool on_value = tag.attributes.get("source") == "value";
            const bool whole_row = row && tag.name == "array" && tag.attributes.get("function").empty() && !on_value;
            if (!php_) report(file, at + tag.begin, "runphp needs PHP, which this preview has not started");
            values[i] = !php_         ? std::string()
                        : whole_row   ? php_result(php_->run_php(tag.body, *row), tag, file, at)
                        : on_value    ? php_result(php_->run_php(values[i], ""), tag, file, at)
                                      : php_result(php_->run_php(tag.body, values[i]), tag, file, at);
        }
    }
    return replace_tags(source, parsed, values);
}

std::string Renderer::render_page(std::string_view source, Page& page, std::string_view file) {
    ParsedTemplate parsed = parse_tags(source);
    if (parsed.stop && parsed.stop->unended)
        report(file, parsed.stop->at, "{dede:" + parsed.stop->name + "} never ends: DedeCMS stops reading tags here");
    else if (parsed.stop)
        report(file, parsed.stop->at, "{dede: without a name: DedeCMS stops reading tags here");
    std::vector<std::string> values(parsed.tags.size());
    for (size_t i = 0; i < parsed.tags.size(); ++i) {
        const ParsedTag& tag = parsed.tags[i];
        if (tag.name == "field") {
            if (page.view_fills_fields) continue;
            auto found = page.fields.find(std::string(tag.attributes.get("name")));
            if (tag.attributes.get("name") == "array") values[i] = assign(tag, "array", file);
            else if (found != page.fields.end()) values[i] = assign(tag, found->second, file);
            continue;
        }
        auto library = libraries_.find(tag.name);
        if (library == libraries_.end()) continue;
        TagCall call{*this, tag, page, file};
        values[i] = assign(tag, library->second(call), file);
    }
    if (page.view_tags)
        for (size_t i = 0; i < parsed.tags.size(); ++i) {
            TagCall call{*this, parsed.tags[i], page, file};
            if (auto value = page.view_tags(call)) values[i] = assign(parsed.tags[i], std::move(*value), file);
        }
    std::string out = assemble(source, parsed, std::move(values), file, 0, &page);
    if (parsed.stop && parsed.stop->unended && page.parse_notices_in_page)
        out = "Tag Character postion " + std::to_string(parsed.stop->at) + ", '" + parsed.stop->name + "' Error！<br />\r\n" + out;
    return out;
}

std::string Renderer::render_flinks(std::string_view body, Page& page, std::string_view file) {
    ParsedTemplate parsed = parse_tags(body);
    std::vector<std::string> values(parsed.tags.size());
    for (size_t i = 0; i < parsed.tags.size(); ++i) {
        if (parsed.tags[i].name != "flink") continue;
        TagCall call{*this, parsed.tags[i], page, file};
        values[i] = assign(parsed.tags[i], libraries_.at("flink")(call), file);
    }
    return assemble(body, parsed, std::move(values), file, 0, &page);
}

std::string Renderer::fill_items(std::string_view item_template, const std::vector<Row>& rows, std::string_view file,
                                 size_t at, std::string_view row_end, bool count_rows, int first_index) {
    ParsedTemplate parsed = parse_tags(item_template, kItemTags);
    std::string out;
    int index = first_index;
    for (const Row& row : rows) {
        std::vector<std::string> values(parsed.tags.size());
        for (size_t i = 0; i < parsed.tags.size(); ++i) {
            const ParsedTag& tag = parsed.tags[i];
            auto found = row.find(tag.name);
            if (tag.name == "array" && !tag.attributes.get("function").empty())
                values[i] = php_ ? php_result(php_->call_function(tag.attributes.get("function"), row), tag, file, at) : "";
            else
                values[i] = assign(tag, tag.name == "array" ? "array" : found == row.end() ? "" : found->second, file, at);
        }
        if (count_rows) set_global("autoindex", std::to_string(index++));
        out += assemble(item_template, parsed, std::move(values), file, at, nullptr, &row);
        out += row_end;
    }
    return out;
}

}  // namespace brindle::dede
