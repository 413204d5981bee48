#pragma once
// Numbers in messages: offsets and values as "0x1C", identifiers always with eight digits.
#include <cstdint>
#include <cstdio>
#include <string>

namespace brindle {

inline std::string hex(uint64_t v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(v));
    return buf;
}

inline std::string hex_id(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

}  // namespace brindle
