#pragma once
// Numbers in messages: offsets and values as "0x1C", identifiers always with eight digits.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

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

// Raw bytes as lower-case hex digits, two a byte ("6c61"), for data that is not text.
inline std::string hex_bytes(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

}  // namespace brindle
