#pragma once
// Exit status of the command-line tools, the same in every one.
namespace brindle {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;   // the input was read but the work failed (a malformed image, a fault)
inline constexpr int kExitBadPath = 2;  // a path it cannot use (missing, a directory, unreadable)
inline constexpr int kExitUsage = 2;    // a wrong command line or command

}  // namespace brindle
