#pragma once
// The launch sequence: payload out of the executable, files into the extraction directory, kernel in,
// program image handed over. The first failure ends it with one message.
#include <cstdio>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/bytes.h"
#include "launcher/kernel_entry.h"
#include "launcher/platform.h"

namespace brindle::launcher {

inline constexpr int kExitRan = 0;
inline constexpr int kExitFailed = 1;  // a failure must not look like success to a script

// The message the user sees, and the path and reason behind it when the system refused something.
struct LaunchFailure {
    std::string message;
    std::string detail;
};

// Everything before the hand-over: the kernel's start function, or the failure.
std::expected<StartFn, LaunchFailure> prepare_kernel(Platform& platform);

// The whole launch: prepares the kernel and runs the image, or shows the message. The exit status:
// kExitFailed also when the kernel's start function reports a failure.
int launch(Platform& platform, ByteView image);

// "--help" and "--version" (the first of them among the arguments) print one line on out and end the
// launcher before anything is unpacked: the exit status then. Other arguments are ignored: none.
std::optional<int> answer_command_line(std::span<const std::string_view> args, std::FILE* out);

}  // namespace brindle::launcher
