// The MariaDB/MySQL backend: the author's copy of the site's database through MariaDB Connector/C.
// Nothing is written through it, in two independent ways: only a single plain SELECT is sent
// (select_only), and the session is read-only, so the server itself refuses a write that got past.
#include <mysql.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/try.h"
#include "dede/select_only.h"
#include "dede/site_address.h"
#include "dede/site_database.h"

namespace brindle::dede {
namespace {

// The address as an error names it: never the password.
std::string where(const MariaDbAddress& address) {
    std::string text = "mysql://" + address.user + "@" + address.host;
    if (address.port) text += ":" + std::to_string(*address.port);
    text += "/" + address.database;
    if (!address.socket.empty()) text += "?socket=" + address.socket;
    return text;
}

// MariaDB's RAND() state takes two seeds below 2^30 - 1; spread the clock over both so that near
// times still give unrelated orders.
uint64_t mixed(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// The session as every statement then sees it:
// - read-only: with autocommit each statement is a transaction of its own, and a read-only one. (One
//   long START TRANSACTION READ ONLY would also freeze InnoDB's snapshot, and a preview that stays
//   open would stop showing the author's edits.)
// - bytes as stored: the query's bytes are taken as `charset` without conversion (client binary),
//   so a literal compares with the columns as DedeCMS's does, and results come back unconverted
//   (results binary): the engine decodes with the site's charset, whatever the columns' label says.
// - sql_mode '' as DedeCMS sets it, which also fixes the lexical rules select_only reads by.
// - the clock: NOW(), UNIX_TIMESTAMP(), CURDATE() answer from `timestamp` (in UTC, as the SQLite
//   backend's), and RAND() without a seed draws from a sequence seeded by the clock, which runs on
//   over the session as the SQLite backend's does: ORDER BY RAND() is one order per clock, and
//   RAND(N) stays MySQL's own. SYSDATE() still reads the server's clock.
std::vector<std::string> session_setup(const std::string& charset, SiteClock clock) {
    uint64_t seeds = mixed(static_cast<uint64_t>(clock.now));
    constexpr uint64_t kSeedLimit = 0x3FFFFFFF;
    return {
        "SET SESSION TRANSACTION READ ONLY",
        "SET character_set_client = binary, character_set_connection = " + charset +
            ", character_set_results = binary, sql_mode = '', time_zone = '+00:00', timestamp = " +
            std::to_string(clock.now) + ", rand_seed1 = " + std::to_string((seeds & 0xFFFFFFFF) % kSeedLimit) +
            ", rand_seed2 = " + std::to_string((seeds >> 32) % kSeedLimit),
    };
}

// The charset most of the site's text columns are labelled with, which literals in queries then
// take. The database's default is only the fallback: UTF-8 sites often live in a database created
// as latin1.
constexpr std::string_view kColumnCharset =
    "SELECT character_set_name FROM information_schema.columns WHERE table_schema = DATABASE()"
    " AND character_set_name IS NOT NULL GROUP BY character_set_name ORDER BY count(*) DESC LIMIT 1";

bool charset_name_only(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

class MariaDbSite : public SiteDatabase {
public:
    explicit MariaDbSite(MYSQL* db) : db_(db) {}
    ~MariaDbSite() override { mysql_close(db_); }

    // The session's sql_mode is '' (as DedeCMS's), so a backslash escapes: both quotes and
    // backslashes are escaped.
    std::string quote(std::string_view text) const override {
        std::string out = "'";
        for (char c : text) {
            switch (c) {
                case '\'': out += "\\'"; break;
                case '\\': out += "\\\\"; break;
                case '\0': out += "\\0"; break;
                case '\n': out += "\\n"; break;
                case '\r': out += "\\r"; break;
                case '\x1a': out += "\\Z"; break;
                default: out += c;
            }
        }
        return out + "'";
    }
    bool backslash_escapes() const override { return true; }

    Result<QueryResult> select(std::string_view sql) override {
        BRINDLE_TRY(std::string_view statement, select_only(sql));
        return query(statement);
    }

    // Our own statements, which the gate would refuse (SET).
    Result<QueryResult> query(std::string_view statement) {
        if (mysql_real_query(db_, statement.data(), statement.size()) != 0) return fail(mysql_error(db_));
        std::unique_ptr<MYSQL_RES, decltype(&mysql_free_result)> rows(mysql_store_result(db_), mysql_free_result);
        if (!rows) {
            if (mysql_errno(db_)) return fail(mysql_error(db_));
            return QueryResult{};
        }
        QueryResult result;
        const unsigned columns = mysql_num_fields(rows.get());
        const MYSQL_FIELD* fields = mysql_fetch_fields(rows.get());
        for (unsigned i = 0; i < columns; ++i) result.columns.emplace_back(fields[i].name, fields[i].name_length);
        result.rows.reserve(mysql_num_rows(rows.get()));
        while (MYSQL_ROW row = mysql_fetch_row(rows.get())) {
            const unsigned long* lengths = mysql_fetch_lengths(rows.get());
            auto& values = result.rows.emplace_back();
            values.reserve(columns);
            for (unsigned i = 0; i < columns; ++i) {
                if (row[i])
                    values.emplace_back(std::string(row[i], lengths[i]));
                else
                    values.emplace_back();
            }
        }
        return result;
    }

private:
    MYSQL* db_;
};

}  // namespace

Result<std::unique_ptr<SiteDatabase>> open_mariadb_site(const MariaDbAddress& address, SiteClock clock) {
    MYSQL* db = mysql_init(nullptr);
    if (!db) return fail("out of memory", where(address));
    auto site = std::make_unique<MariaDbSite>(db);
    // An unreachable site fails within seconds; a server never gets to ask for the client's files
    // (LOAD DATA LOCAL). Reconnecting stays off: a new session would lose the settings above.
    unsigned int connect_timeout = 10;
    my_bool local_files = 0;
    mysql_optionsv(db, MYSQL_OPT_CONNECT_TIMEOUT, &connect_timeout);
    mysql_optionsv(db, MYSQL_OPT_LOCAL_INFILE, &local_files);
    // A port means TCP even to localhost, which the client would otherwise reach by its socket.
    if (address.port || !address.socket.empty()) {
        unsigned int protocol = address.port ? MYSQL_PROTOCOL_TCP : MYSQL_PROTOCOL_SOCKET;
        mysql_optionsv(db, MYSQL_OPT_PROTOCOL, &protocol);
    }
    // No CLIENT_MULTI_STATEMENTS: the server itself parses one statement per query.
    if (!mysql_real_connect(db, address.host.c_str(), address.user.c_str(),
                            address.password ? address.password->c_str() : nullptr, address.database.c_str(),
                            address.port.value_or(0), address.socket.empty() ? nullptr : address.socket.c_str(), 0))
        return fail(mysql_error(db), where(address));
    auto labels = site->query(kColumnCharset);
    if (!labels) return fail("cannot read the columns' charset: " + labels.error().message, where(address));
    std::string charset = "@@character_set_database";
    if (!labels->rows.empty() && labels->rows[0][0] && charset_name_only(*labels->rows[0][0]))
        charset = *labels->rows[0][0];
    for (const std::string& sql : session_setup(charset, clock))
        if (auto set = site->query(sql); !set)
            return fail("cannot set up the session: " + set.error().message, where(address));
    return std::unique_ptr<SiteDatabase>(std::move(site));
}

}  // namespace brindle::dede
