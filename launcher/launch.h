#pragma once
// The launch sequence: payload out of the executable, files into the extraction directory, kernel in,
// program image handed over. The first failure ends it with one message.
#include <expected>
#include <string>

#include "launcher/kernel_entry.h"
#include "launcher/platform.h"

namespace brindle::launcher {

inline constexpr int kExitRan = 0;
inline constexpr int kExitFailed = 1;  // a failure must not look like success to a script

// Everything before the hand-over: the kernel's start function, or the failure message.
std::expected<StartFn, std::string> prepare_kernel(Platform& platform);

// The whole launch: prepares the kernel and runs the image, or shows the message. The exit status.
int launch(Platform& platform, const void* image);

}  // namespace brindle::launcher
