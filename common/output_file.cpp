#include "common/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace brindle {
namespace {

mode_t current_umask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

Result<void> write_file_atomically(const std::string& path, ByteView bytes, std::optional<mode_t> mode) {
    size_t slash = path.find_last_of('/');
    std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // Hidden, so a directory walker or an editor never picks up the half-written file.
    std::string temp = dir + "." + name + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return fail(std::strerror(errno), path);
    int error = 0;
    for (size_t done = 0; error == 0 && done < bytes.size();) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        else if (n == 0) error = EIO;
        else done += static_cast<size_t>(n);
    }
    if (error == 0 && ::fchmod(fd, mode ? *mode : 0666 & ~current_umask()) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return fail(std::strerror(error), path);
    }
    return {};
}

}  // namespace brindle
