#pragma once
// A GBK site seen as UTF-8, the engine's one text encoding: queries go to the database in GBK and
// every value comes back decoded. A GBK site often keeps its bytes in columns labelled latin1, so
// the bytes are converted here, whatever the columns say.
#include <memory>
#include <string>
#include <string_view>

#include "dede/site_database.h"

namespace brindle::dede {

std::unique_ptr<SiteDatabase> gbk_text_site(std::unique_ptr<SiteDatabase> gbk_site);

// A statement in GBK (GB18030 for what GBK lacks, so nothing is lost). Where the backend reads a
// backslash in a literal as an escape and takes the query's bytes one by one, a GBK character whose
// second byte is 0x5C ('\') would escape the literal's closing quote: that byte is doubled inside
// literals, so the character stays itself and the literal ends where it did.
std::string sql_in_gbk(std::string_view utf8_sql, bool backslash_escapes);

}  // namespace brindle::dede
