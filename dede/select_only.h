#pragma once
// The gate in front of a server that could be written to: a template's {dede:sql} statement reaches
// the site's MySQL only when it is one SELECT that reads and does nothing else.
#include <string_view>

#include "common/result.h"

namespace brindle::dede {

// The statement (a final ';' left off) when `sql` is a single SELECT without INTO (which writes files
// or variables), without row locks and without the functions that act outside the query (SLEEP,
// GET_LOCK, LOAD_FILE, sequences). Reads MySQL's lexical rules with sql_mode '' (backslash escapes,
// "strings"); executable comments (/*! ... */) are refused, as their text would run.
Result<std::string_view> select_only(std::string_view sql);

}  // namespace brindle::dede
