#pragma once
// Reads a whole file named on a command line. A missing file, a directory, a device, a FIFO, an
// unreadable or an oversized file is an error value naming the path and the reason ("PATH: Is a
// directory"), never an exception and never a wait.
#include <cstddef>
#include <string>

#include "common/bytes.h"
#include "common/exit_status.h"

namespace brindle {

// The most any tool reads of one file: far above any template or image, far below what would
// exhaust memory.
inline constexpr size_t kMaxInputFileSize = size_t{256} << 20;

Result<Bytes> read_input_file(const std::string& path, size_t max_size = kMaxInputFileSize);

}  // namespace brindle
