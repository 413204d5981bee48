// {dede:sql sql="SELECT ..."}: the rows of the template's own query. The site's database is a copy
// that must stay as it is: only a statement that reads is run, whatever DedeCMS itself would run.
#include <algorithm>
#include <cctype>

#include "dede/php_text.h"
#include "dede/tags/libraries.h"

namespace brindle::dede {
namespace {

// PHP's addslashes, for page fields put into the query as '~name~'.
std::string slashed(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\'' || c == '"' || c == '\\') out += '\\';
        if (c == '\0') {
            out += "\\0";
            continue;
        }
        out += c;
    }
    return out;
}

bool reads_only(std::string_view sql) {
    std::string head = php_trim(sql).substr(0, 6);
    for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return head == "select";
}

}  // namespace

std::string sql(TagCall& call) {
    Site& site = call.renderer.site();
    std::string query(call.tag.attributes.get("sql"));
    // ~name~ stands for a field of the page, quoted.
    for (size_t at = query.find('~'); at != std::string::npos;) {
        size_t end = query.find('~', at + 1);
        if (end == std::string::npos) break;
        std::string name = query.substr(at + 1, end - at - 1);
        bool word = !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c); });
        auto field = word ? call.page.fields.find(name) : call.page.fields.end();
        if (field != call.page.fields.end()) {
            std::string value = "'" + slashed(field->second) + "'";
            query.replace(at, end - at + 1, value);
            at = query.find('~', at + value.size());
        } else {
            at = word ? query.find('~', end + 1) : end;
        }
    }
    const std::string body = php_trim(call.tag.body);
    if (query.empty() || body.empty()) return {};
    call.renderer.set_global("autoindex", "0");
    if (!reads_only(query)) {
        call.renderer.report(call.file, call.tag.begin,
                             "{dede:sql}: only a SELECT is run on the site's database; this statement is not one");
        return {};
    }
    auto result = site.database().select(site.sql(query));
    if (!result) {
        call.renderer.report(call.file, call.tag.begin, "{dede:sql}: " + result.error().message);
        return {};
    }
    std::vector<Row> rows;
    for (size_t i = 0; i < result->rows.size(); ++i) {
        Row row = row_at(*result, i);
        for (auto& [name, value] : row)
            if (value == "0") value.clear();  // DedeCMS fills only values PHP does not call empty
        rows.push_back(std::move(row));
    }
    std::string out = call.renderer.fill_items(body, rows, call.file, trimmed_body_at(call.tag));
    call.renderer.set_global("autoindex", std::to_string(rows.size()));
    return out;
}

}  // namespace brindle::dede
