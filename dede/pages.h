#pragma once
// The fields a page offers its template ({dede:field.NAME/}), by the kind of page.
#include "dede/renderer.h"

namespace brindle::dede {

// A home or single page, with a current category when typeid_ is not 0.
Page index_page(const Site& site, int typeid_);

}  // namespace brindle::dede
