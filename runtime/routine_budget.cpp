#include "runtime/routine_budget.h"

#include <charconv>
#include <cstring>
#include <string>

namespace brindle::runtime {

Result<std::chrono::milliseconds> routine_time_limit(const char* scale) {
    if (!scale) return kRoutineTimeLimit;
    const char* end = scale + std::strlen(scale);
    int factor = 0;
    auto [stop, error] = std::from_chars(scale, end, factor);
    if (error != std::errc() || stop != end || factor < 1 || factor > 1000)
        return fail(std::string(kTimeScaleVariable) + " is \"" + scale +
                    "\": it multiplies the 10 s a routine may run, and must be a whole number from 1 to 1000");
    return kRoutineTimeLimit * factor;
}

}  // namespace brindle::runtime
