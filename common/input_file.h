#pragma once
// Reads a whole file named on a command line. A missing file, a directory or an unreadable file is an
// error value naming the path and the reason ("PATH: Is a directory"), never an exception.
#include <string>

#include "common/bytes.h"

namespace brindle {

// Exit status of every command-line tool for a path it cannot use (missing, a directory, unreadable).
inline constexpr int kExitBadPath = 2;

Result<Bytes> read_input_file(const std::string& path);

}  // namespace brindle
