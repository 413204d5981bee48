#include "common/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace brindle {

Result<Bytes> read_input_file(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(std::strerror(errno), path);
    auto failed = [&](int error) {
        ::close(fd);
        return fail(std::strerror(error), path);
    };
    struct stat st;
    if (::fstat(fd, &st) != 0) return failed(errno);
    if (S_ISDIR(st.st_mode)) return failed(EISDIR);
    Bytes data;
    try {
        if (S_ISREG(st.st_mode)) data.reserve(static_cast<size_t>(st.st_size));
        uint8_t chunk[65536];
        for (;;) {
            ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return failed(errno);
            if (n == 0) break;
            data.insert(data.end(), chunk, chunk + n);
        }
    } catch (const std::bad_alloc&) {
        return failed(ENOMEM);
    }
    ::close(fd);
    return data;
}

}  // namespace brindle
