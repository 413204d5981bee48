#pragma once
// The tag libraries, one source file each.
#include "dede/renderer.h"

namespace brindle::dede {

std::string arclist(TagCall& call);
std::string adminname(TagCall& call);
std::string sql(TagCall& call);
std::string channel(TagCall& call);
std::string type(TagCall& call);

}  // namespace brindle::dede
