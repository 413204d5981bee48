// The SQLite backend: read-only connection, and MySQL's functions that SQLite lacks registered under
// their MySQL names.
#include <sqlite3.h>

#include <cstring>
#include <ctime>
#include <random>
#include <regex.h>

#include "common/try.h"
#include "dede/site_database.h"

namespace brindle::dede {
namespace {

std::string text_of(sqlite3_value* value) {
    const unsigned char* text = sqlite3_value_text(value);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_value_bytes(value))) : "";
}

void result_text(sqlite3_context* context, const std::string& text) {
    sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// CONCAT(a, b, ...): NULL when any argument is.
void concat(sqlite3_context* context, int argc, sqlite3_value** argv) {
    std::string out;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(context);
        out += text_of(argv[i]);
    }
    result_text(context, out);
}

// CONCAT_WS(separator, a, b, ...): NULL arguments are left out.
void concat_ws(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc == 0 || sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(context);
    const std::string separator = text_of(argv[0]);
    std::string out;
    bool first = true;
    for (int i = 1; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) continue;
        if (!first) out += separator;
        out += text_of(argv[i]);
        first = false;
    }
    result_text(context, out);
}

// CHAR_LENGTH(s): characters, not bytes (the text is UTF-8).
void char_length(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(context);
    sqlite3_int64 count = 0;
    for (unsigned char c : text_of(argv[0]))
        if ((c & 0xC0) != 0x80) ++count;
    sqlite3_result_int64(context, count);
}

// FIND_IN_SET(needle, 'a,b,c'): the 1-based place of needle in the list, 0 when absent.
void find_in_set(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(context);
    const std::string needle = text_of(argv[0]), list = text_of(argv[1]);
    if (needle.find(',') != std::string::npos) return sqlite3_result_int(context, 0);
    int place = 1;
    for (size_t from = 0;; ++place) {
        size_t comma = list.find(',', from);
        if (list.compare(from, comma == std::string::npos ? std::string::npos : comma - from, needle) == 0)
            return sqlite3_result_int(context, place);
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    sqlite3_result_int(context, 0);
}

// LENGTH(s) counts bytes, as MySQL's does (SQLite's counts characters); CHAR_LENGTH(s) characters.
void length_in_bytes(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(context);
    sqlite3_result_int(context, static_cast<int>(text_of(argv[0]).size()));
}
void length_in_characters(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(context);
    const std::string text = text_of(argv[0]);
    int characters = 0;
    for (unsigned char byte : text) characters += (byte & 0xC0) != 0x80;
    sqlite3_result_int(context, characters);
}

// IF(condition, then, else)
void if_function(sqlite3_context* context, int, sqlite3_value** argv) {
    bool truth = sqlite3_value_type(argv[0]) != SQLITE_NULL && sqlite3_value_double(argv[0]) != 0.0;
    sqlite3_result_value(context, argv[truth ? 1 : 2]);
}

const SiteClock& clock_of(sqlite3_context* context) { return *static_cast<const SiteClock*>(sqlite3_user_data(context)); }

// UNIX_TIMESTAMP() is the site's clock; UNIX_TIMESTAMP('YYYY-MM-DD HH:MM:SS') reads a UTC time.
void unix_timestamp(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc == 0) return sqlite3_result_int64(context, clock_of(context).now);
    std::tm tm{};
    const std::string text = text_of(argv[0]);
    if (!strptime(text.c_str(), "%Y-%m-%d %H:%M:%S", &tm) && !strptime(text.c_str(), "%Y-%m-%d", &tm))
        return sqlite3_result_int(context, 0);
    sqlite3_result_int64(context, static_cast<sqlite3_int64>(timegm(&tm)));
}

// NOW(): 'YYYY-MM-DD HH:MM:SS' of the site's clock.
void now_function(sqlite3_context* context, int, sqlite3_value**) {
    std::time_t now = static_cast<std::time_t>(clock_of(context).now);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    result_text(context, text);
}

// RAND(): numbers in [0, 1) from a sequence seeded with the clock, so one time gives one order.
struct RandomState {
    std::mt19937_64 engine;
};
void rand_function(sqlite3_context* context, int, sqlite3_value**) {
    auto* state = static_cast<RandomState*>(sqlite3_user_data(context));
    sqlite3_result_double(context, std::uniform_real_distribution<double>(0.0, 1.0)(state->engine));
}

// value REGEXP pattern (SQLite calls regexp(pattern, value)): POSIX extended, as MySQL's before 8.
void regexp_function(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(context);
    const std::string pattern = text_of(argv[0]), value = text_of(argv[1]);
    regex_t compiled;
    if (regcomp(&compiled, pattern.c_str(), REG_EXTENDED | REG_ICASE | REG_NOSUB) != 0)
        return sqlite3_result_error(context, "invalid regular expression", -1);
    int matched = regexec(&compiled, value.c_str(), 0, nullptr, 0);
    regfree(&compiled);
    sqlite3_result_int(context, matched == 0);
}

class SqliteSite : public SiteDatabase {
public:
    SqliteSite(sqlite3* db, SiteClock clock) : db_(db), clock_(clock) { random_.engine.seed(static_cast<uint64_t>(clock.now)); }
    ~SqliteSite() override { sqlite3_close(db_); }

    Result<void> register_functions() {
        struct Function {
            const char* name;
            int arguments;
            void (*call)(sqlite3_context*, int, sqlite3_value**);
            void* data;
        };
        const Function functions[] = {
            {"concat", -1, concat, nullptr},
            {"concat_ws", -1, concat_ws, nullptr},
            {"char_length", 1, char_length, nullptr},
            {"find_in_set", 2, find_in_set, nullptr},
            {"if", 3, if_function, nullptr},
            {"length", 1, length_in_bytes, nullptr},
            {"char_length", 1, length_in_characters, nullptr},
            {"unix_timestamp", 0, unix_timestamp, &clock_},
            {"unix_timestamp", 1, unix_timestamp, &clock_},
            {"now", 0, now_function, &clock_},
            {"rand", 0, rand_function, &random_},
            {"rand", 1, rand_function, &random_},
            {"regexp", 2, regexp_function, nullptr},
        };
        for (const Function& f : functions)
            if (sqlite3_create_function_v2(db_, f.name, f.arguments, SQLITE_UTF8, f.data, f.call, nullptr, nullptr,
                                           nullptr) != SQLITE_OK)
                return fail(sqlite3_errmsg(db_), f.name);
        return {};
    }

    std::string quote(std::string_view text) const override {
        std::string out = "'";
        for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
        return out + "'";
    }

    Result<QueryResult> select(std::string_view sql) override {
        sqlite3_stmt* statement = nullptr;
        const char* rest = nullptr;
        if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, &rest) != SQLITE_OK)
            return fail(sqlite3_errmsg(db_));
        struct Finalize {
            sqlite3_stmt* s;
            ~Finalize() { sqlite3_finalize(s); }
        } finalize{statement};
        if (!statement) return fail("no statement");
        std::string_view after(rest, static_cast<size_t>(sql.data() + sql.size() - rest));
        if (after.find_first_not_of(" \t\r\n;") != std::string_view::npos) return fail("more than one statement");
        if (!sqlite3_stmt_readonly(statement)) return fail("only statements that read are run");
        QueryResult result;
        const int columns = sqlite3_column_count(statement);
        for (int i = 0; i < columns; ++i) result.columns.emplace_back(sqlite3_column_name(statement, i));
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            auto& row = result.rows.emplace_back();
            for (int i = 0; i < columns; ++i) {
                if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
                    row.emplace_back();
                    continue;
                }
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, i));
                row.emplace_back(std::string(bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(statement, i))));
            }
        }
        if (step != SQLITE_DONE) return fail(sqlite3_errmsg(db_));
        return result;
    }

private:
    sqlite3* db_;
    SiteClock clock_;
    RandomState random_;
};

}  // namespace

std::optional<size_t> QueryResult::column(std::string_view name) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i] == name) return i;
    return std::nullopt;
}

Result<std::unique_ptr<SiteDatabase>> open_sqlite_site(const std::string& path, SiteClock clock) {
    sqlite3* db = nullptr;
    // Read-only and never created: a wrong path is an error, not a new empty site.
    int opened = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (opened != SQLITE_OK) {
        std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(opened);
        sqlite3_close(db);
        return fail(reason, path);
    }
    auto site = std::make_unique<SqliteSite>(db, clock);
    BRINDLE_CHECK(site->register_functions());
    // A file that is not a database only shows when it is first read.
    if (auto read = site->select("SELECT count(*) FROM sqlite_master"); !read) return fail(read.error().message, path);
    return std::unique_ptr<SiteDatabase>(std::move(site));
}

}  // namespace brindle::dede
