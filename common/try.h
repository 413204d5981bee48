#pragma once
// Early return of a failed Result from the enclosing function, which must itself return a Result.
//
//   BRINDLE_TRY(uint32_t count, cursor.u32("count"));   // declares count from the value
//   BRINDLE_TRY(header.flags, cursor.u32("flags"));     // or assigns to an existing place
//   BRINDLE_CHECK(writer.finish());                     // for a Result<void>
#include <expected>
#include <utility>

#define BRINDLE_TRY_CONCAT_(a, b) a##b
#define BRINDLE_TRY_NAME_(line) BRINDLE_TRY_CONCAT_(brindle_try_result_, line)

#define BRINDLE_TRY(target, ...) BRINDLE_TRY_IMPL_(target, BRINDLE_TRY_NAME_(__LINE__), __VA_ARGS__)
#define BRINDLE_TRY_IMPL_(target, result, ...)                 \
    auto result = (__VA_ARGS__);                               \
    if (!result) return std::unexpected(std::move(result).error()); \
    target = std::move(*result)

#define BRINDLE_CHECK(...)                                                     \
    do {                                                                       \
        if (auto brindle_check_result_ = (__VA_ARGS__); !brindle_check_result_) \
            return std::unexpected(std::move(brindle_check_result_).error());  \
    } while (0)
