#pragma once
// Writes a whole file so that readers see the old file or the new one, never a part: the bytes go to
// a fresh temporary name beside the target, which is then renamed over it. A symbolic link at the
// target is replaced, never followed; on failure the temporary file is removed and the old file stays.
#include <sys/types.h>

#include <optional>
#include <string>

#include "common/bytes.h"

namespace brindle {

// The file gets `mode` as given, or without one what a newly created file gets (0666 less the umask).
Result<void> write_file_atomically(const std::string& path, ByteView bytes, std::optional<mode_t> mode = std::nullopt);

}  // namespace brindle
