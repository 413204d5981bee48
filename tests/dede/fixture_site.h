#pragma once
// Where the rendering fixtures read their site from: a SQLite file in dede_tests, the test's own
// MariaDB server in dede_mariadb_tests. The same cases then prove both backends byte for byte.
#include <memory>

#include "dede/site_database.h"

namespace brindle::dede {

std::unique_ptr<SiteDatabase> open_fixture_site(SiteClock clock);
void close_fixture_site();

}  // namespace brindle::dede

namespace brindle::test {
class MariaDbServer;
// dede_mariadb_tests only: the program's server.
MariaDbServer& fixture_server();
}  // namespace brindle::test

namespace brindle::dede {}  // namespace brindle::dede
