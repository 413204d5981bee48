#pragma once
// Errors as values: what is wrong, and where (the field and the byte offset) when a format is at fault.
#include <cstdint>
#include <expected>
#include <string>
#include <utility>

namespace brindle {

struct Error {
    static constexpr uint64_t kNoOffset = UINT64_MAX;

    std::string message;
    std::string field;
    uint64_t offset = kNoOffset;

    // "field at 0x1C: message", or the parts that are known.
    std::string describe() const;
};

// A value, or the error in its place. Dropping one would drop its error unseen: a call whose result
// is not wanted says so with a (void) cast.
template <class T>
class [[nodiscard]] Result : public std::expected<T, Error> {
public:
    using std::expected<T, Error>::expected;
    Result(std::expected<T, Error> e) : std::expected<T, Error>(std::move(e)) {}  // NOLINT: as std::expected converts
};

inline std::unexpected<Error> fail(std::string message, std::string field = {},
                                   uint64_t offset = Error::kNoOffset) {
    return std::unexpected(Error{std::move(message), std::move(field), offset});
}

}  // namespace brindle
