#pragma once
// Early return for Result values inside the image readers and writers.
#include <expected>
#include <utility>

// Evaluates a Result<T>; on failure returns its error from the enclosing function, else yields the value.
#define BRINDLE_TRY(expr)                                                 \
    ({                                                                    \
        auto brindle_try_result_ = (expr);                                \
        if (!brindle_try_result_)                                         \
            return std::unexpected(std::move(brindle_try_result_).error()); \
        std::move(*brindle_try_result_);                                  \
    })

// Evaluates a Result<void>; on failure returns its error from the enclosing function.
#define BRINDLE_CHECK(expr)                                               \
    do {                                                                  \
        auto brindle_check_result_ = (expr);                              \
        if (!brindle_check_result_)                                       \
            return std::unexpected(std::move(brindle_check_result_).error()); \
    } while (0)
