#include "launcher/posix_platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>

extern char** environ;

namespace brindle::launcher {
namespace {

class PosixInputFile : public InputFile {
public:
    explicit PosixInputFile(int fd) : fd_(fd) {}
    ~PosixInputFile() override { ::close(fd_); }

    std::optional<uint64_t> size() override {
        struct stat st;
        if (::fstat(fd_, &st) != 0 || st.st_size < 0) return std::nullopt;
        return static_cast<uint64_t>(st.st_size);
    }

    std::optional<size_t> read_at(uint64_t offset, std::span<uint8_t> out) override {
        size_t done = 0;
        while (done < out.size()) {
            ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return std::nullopt;
            if (n == 0) break;
            done += static_cast<size_t>(n);
        }
        return done;
    }

private:
    int fd_;
};

bool non_empty(const char* value) { return value && *value; }

// The first executable "zenity" on PATH, or empty.
std::string find_dialog_tool() {
    const char* path = std::getenv("PATH");
    if (!non_empty(path)) return {};
    std::string_view dirs(path);
    while (!dirs.empty()) {
        size_t colon = dirs.find(':');
        std::string dir(dirs.substr(0, colon));
        dirs = colon == std::string_view::npos ? std::string_view{} : dirs.substr(colon + 1);
        if (dir.empty()) continue;
        std::string candidate = dir + "/zenity";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

}  // namespace

std::string PosixPlatform::executable_path() {
    std::string path(PATH_MAX, '\0');
    ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<size_t>(n) >= path.size()) return {};  // a cut path would name another file
    path.resize(static_cast<size_t>(n));
    return path;
}

std::unique_ptr<InputFile> PosixPlatform::open_for_reading(const std::string& path) {
    if (path.empty()) return nullptr;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixInputFile>(fd);
}

std::unique_ptr<uint8_t[]> PosixPlatform::allocate(size_t size) {
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]);
}

std::optional<std::string> PosixPlatform::temp_directory() {
    const char* tmpdir = std::getenv("TMPDIR");
    std::string dir = non_empty(tmpdir) ? tmpdir : "/tmp";
    if (dir.back() != '/') dir += '/';
    return dir;
}

size_t PosixPlatform::path_limit() const { return PATH_MAX; }

bool PosixPlatform::prepare_directory(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    // The temporary directory is shared and the name predictable: use only our own private directory.
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool PosixPlatform::write_file(const std::string& path, ByteView content) {
    // Written beside the target and renamed over it: a running copy of the kernel keeps its own bytes
    // (rewriting a mapped library in place would crash the process using it), and a planted link is
    // replaced, never followed.
    size_t slash = path.rfind('/');
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".brindle-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = true;
    size_t done = 0;
    while (ok && done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
    ::unlink(temp.c_str());
    return false;
}

void* PosixPlatform::load_library(const std::string& path) { return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* PosixPlatform::find_symbol(void* library, const char* name) { return ::dlsym(library, name); }

void PosixPlatform::show_message(std::string_view message) {
    std::string line = "Error: " + std::string(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);

    // Without a display a dialog could never be answered: never wait for one then.
    if (!non_empty(std::getenv("DISPLAY")) && !non_empty(std::getenv("WAYLAND_DISPLAY"))) return;
    std::string tool = find_dialog_tool();
    if (tool.empty()) return;
    std::string text = "--text=" + std::string(message);
    char* argv[] = {const_cast<char*>(tool.c_str()), const_cast<char*>("--error"),
                    const_cast<char*>("--title=Error"), const_cast<char*>("--no-markup"), text.data(), nullptr};
    pid_t pid;
    if (::posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv, environ) != 0) return;
    int status;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace brindle::launcher
