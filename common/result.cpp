#include "common/result.h"

#include <cstdio>

namespace brindle {

std::string Error::describe() const {
    std::string out = field;
    if (offset != kNoOffset) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(offset));
        out += out.empty() ? std::string("at ") + buf : std::string(" at ") + buf;
    }
    return out.empty() ? message : out + ": " + message;
}

}  // namespace brindle
