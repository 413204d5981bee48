#include "dede/open_site.h"

namespace brindle::dede {

Result<std::unique_ptr<SiteDatabase>> open_site(const SiteAddress& address, SiteClock clock) {
    if (const auto* sqlite = std::get_if<SqliteAddress>(&address)) return open_sqlite_site(sqlite->path, clock);
    return open_mariadb_site(std::get<MariaDbAddress>(address), clock);
}

}  // namespace brindle::dede
