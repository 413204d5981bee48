#pragma once
// Processor time one routine run may take before it is stopped. A kernel that itself runs emulated
// (an arm64 build under qemu-user runs the x86 emulator emulated) needs more: BRINDLE_TIME_SCALE
// multiplies the budget.
#include <chrono>

#include "common/result.h"

namespace brindle::runtime {

// A 10 MB concatenation takes well under a second, so this stops only a routine that would never finish.
inline constexpr std::chrono::milliseconds kRoutineTimeLimit{10'000};
inline constexpr char kTimeScaleVariable[] = "BRINDLE_TIME_SCALE";

// The budget multiplied by `scale`, the variable's value (null when it is unset): a whole number from
// 1 to 1000.
Result<std::chrono::milliseconds> routine_time_limit(const char* scale);

}  // namespace brindle::runtime
