#pragma once
// Opens the site a --site address names, read-only, whichever backend holds it.
#include <memory>

#include "dede/site_address.h"
#include "dede/site_database.h"

namespace brindle::dede {

Result<std::unique_ptr<SiteDatabase>> open_site(const SiteAddress& address, SiteClock clock);

}  // namespace brindle::dede
