#pragma once
// A DedeCMS site's data as the preview reads it: a copy of the site's database, opened so that
// nothing can be written through it. One query text serves every backend: the SQL is MySQL's, as
// DedeCMS and the templates' own {dede:sql} statements write it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace brindle::dede {

struct QueryResult {
    std::vector<std::string> columns;
    // Values as the database gives their bytes; none for NULL.
    std::vector<std::vector<std::optional<std::string>>> rows;

    // The column's position, or none.
    std::optional<size_t> column(std::string_view name) const;
};

class SiteDatabase {
public:
    virtual ~SiteDatabase() = default;
    // Runs one statement that only reads. A statement that would write, or more than one statement,
    // is refused with an error, and nothing changes.
    virtual Result<QueryResult> select(std::string_view sql) = 0;
    // A string literal of this backend's SQL for any bytes, quotes included: a value from a template
    // must stay a value.
    virtual std::string quote(std::string_view text) const = 0;
    // Whether a backslash in a string literal escapes the next byte (MySQL's rule; SQLite's literals
    // have none).
    virtual bool backslash_escapes() const { return false; }
};

// What DedeCMS would take as the current time, in seconds since 1970 (UTC): the MySQL functions
// that depend on the clock or on chance (NOW, UNIX_TIMESTAMP, RAND) answer from it, so a render
// under a fixed time is the same every time.
struct SiteClock {
    int64_t now = 0;
};

// A SQLite file, opened read-only.
Result<std::unique_ptr<SiteDatabase>> open_sqlite_site(const std::string& path, SiteClock clock);

struct MariaDbAddress;  // dede/site_address.h
// A MariaDB or MySQL database, in a read-only session that gives every value's bytes as stored.
Result<std::unique_ptr<SiteDatabase>> open_mariadb_site(const MariaDbAddress& address, SiteClock clock);

}  // namespace brindle::dede
