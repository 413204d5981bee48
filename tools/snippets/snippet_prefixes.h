#pragma once
// Triggers for the snippets: short, ASCII, stable across rebuilds and unique.
#include <string>
#include <vector>

#include "runtime/headless/palette.h"

namespace brindle::snippets {

using headless::Fragment;

// One prefix per fragment, in order. A palette entry the table knows keeps its table slug; any other
// gets one made from the first DedeCMS tag or field of its text. Clashes get -2, -3, ...
std::vector<std::string> snippet_prefixes(const std::vector<Fragment>& fragments);

}  // namespace brindle::snippets
