#include "common/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace brindle {

Result<Bytes> read_input_file(const std::string& path, size_t max_size) {
    // Non-blocking, so that naming a FIFO cannot hang the tool before it is refused below.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return fail(std::strerror(errno), path);
    auto failed = [&](std::string reason) {
        ::close(fd);
        return fail(std::move(reason), path);
    };
    struct stat st;
    if (::fstat(fd, &st) != 0) return failed(std::strerror(errno));
    if (S_ISDIR(st.st_mode)) return failed(std::strerror(EISDIR));
    // Devices and FIFOs never end (/dev/zero) or wait for a writer: only regular files are read.
    if (!S_ISREG(st.st_mode)) return failed("not a regular file");
    const std::string too_large = "larger than " + std::to_string(max_size >> 20) + " MB, the most a tool reads";
    if (static_cast<uint64_t>(st.st_size) > max_size) return failed(too_large);
    if (::fcntl(fd, F_SETFL, 0) != 0) return failed(std::strerror(errno));
    Bytes data;
    try {
        data.reserve(static_cast<size_t>(st.st_size));
        uint8_t chunk[65536];
        for (;;) {
            ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return failed(std::strerror(errno));
            if (n == 0) break;
            // The file may have grown since it was measured.
            if (data.size() + static_cast<size_t>(n) > max_size) return failed(too_large);
            data.insert(data.end(), chunk, chunk + n);
        }
    } catch (const std::bad_alloc&) {
        return failed(std::strerror(ENOMEM));
    }
    ::close(fd);
    return data;
}

}  // namespace brindle
