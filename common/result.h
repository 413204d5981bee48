#pragma once
// Errors as values: what is wrong, and where (the field and the byte offset) when a format is at fault.
#include <cstdint>
#include <expected>
#include <string>

namespace brindle {

struct Error {
    static constexpr uint64_t kNoOffset = UINT64_MAX;

    std::string message;
    std::string field;
    uint64_t offset = kNoOffset;

    // "field at 0x1C: message", or the parts that are known.
    std::string describe() const;
};

template <class T>
using Result = std::expected<T, Error>;

inline std::unexpected<Error> fail(std::string message, std::string field = {},
                                   uint64_t offset = Error::kNoOffset) {
    return std::unexpected(Error{std::move(message), std::move(field), offset});
}

}  // namespace brindle
