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
#include <cstring>
#include <filesystem>
#include <new>
#include <vector>

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

std::unexpected<SystemFailure> refused(int error) {
    return std::unexpected(SystemFailure{std::strerror(error), error == ENAMETOOLONG});
}
std::unexpected<SystemFailure> refused(std::string reason) { return std::unexpected(SystemFailure{std::move(reason)}); }

// The file as written, held open; loaded through its descriptor, so a name swapped meanwhile is never used.
class PosixWrittenFile : public WrittenFile {
public:
    explicit PosixWrittenFile(int fd) : fd_(fd) {}
    ~PosixWrittenFile() override { ::close(fd_); }

    // The loader opens /proc/self/fd/N, which is this very file. It takes a name it has loaded before
    // for the same library, so a process that loads twice (the tests) unloads the first one before.
    std::expected<void*, std::string> load_library() override {
        std::string path = "/proc/self/fd/" + std::to_string(fd_);
        void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* why = ::dlerror();
            return std::unexpected(std::string(why ? why : "cannot be loaded"));
        }
        return library;
    }

private:
    int fd_;
};

class PosixExtractionDirectory : public ExtractionDirectory {
public:
    explicit PosixExtractionDirectory(int fd) : fd_(fd) {}
    ~PosixExtractionDirectory() override { ::close(fd_); }

    // Written under a fresh temporary name and renamed over the target: a running copy of the kernel
    // keeps its own bytes (rewriting a mapped library in place would crash the process using it), and
    // a planted link is replaced, never followed.
    SystemResult<std::unique_ptr<WrittenFile>> write_file(std::string_view name, ByteView content) override {
        std::string target(name);
        std::string temp;
        int fd = -1;
        for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
            temp = ".brindle-" + std::to_string(::getpid()) + "-" + std::to_string(++serial_);
            fd = ::openat(fd_, temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd < 0 && errno != EEXIST) return refused(errno);
        }
        if (fd < 0) return refused(EEXIST);
        int error = 0;
        for (size_t done = 0; !error && done < content.size();) {
            ssize_t n = ::write(fd, content.data() + done, content.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) error = errno;
            else if (n == 0) error = EIO;
            else done += static_cast<size_t>(n);
        }
        if (!error && ::renameat(fd_, temp.c_str(), fd_, target.c_str()) != 0) error = errno;
        if (error) {
            ::unlinkat(fd_, temp.c_str(), 0);
            ::close(fd);
            return refused(error);
        }
        return std::make_unique<PosixWrittenFile>(fd);
    }

private:
    int fd_;
    unsigned serial_ = 0;
};

bool non_empty(const char* value) { return value && *value; }

// The directory named by an environment variable when it is absolute, this user's and mode 0700.
std::optional<std::string> private_directory(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || value[0] != '/') return std::nullopt;
    struct stat st;
    if (::stat(value, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 07777) != 0700)
        return std::nullopt;
    return std::string(value);
}

// The first executable `name` on PATH, or empty.
std::string find_on_path(const char* name) {
    const char* path = std::getenv("PATH");
    if (!non_empty(path)) return {};
    std::string_view dirs(path);
    while (!dirs.empty()) {
        size_t colon = dirs.find(':');
        std::string dir(dirs.substr(0, colon));
        dirs = colon == std::string_view::npos ? std::string_view{} : dirs.substr(colon + 1);
        if (dir.empty()) continue;
        std::string candidate = dir + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

// Runs the tool and waits for it; true when it ended with status 0, the sign that the dialog was shown
// (a tool that cannot reach the display ends with an error status, and the next one is tried).
bool run_dialog(const std::string& tool, std::vector<std::string> args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(tool.c_str()));
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (::posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
    std::optional<std::string> dir = private_directory("XDG_RUNTIME_DIR");
    if (!dir) {
        const char* tmpdir = std::getenv("TMPDIR");
        dir = non_empty(tmpdir) ? tmpdir : "/tmp";
    }
    if (dir->back() != '/') *dir += '/';
    return dir;
}

size_t PosixPlatform::path_limit() const { return PATH_MAX; }

PosixPlatform::~PosixPlatform() {
    // The library loaded from there stays mapped; only the names go.
    for (const std::string& dir : private_directories_) {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
}

SystemResult<std::pair<std::string, std::unique_ptr<ExtractionDirectory>>> PosixPlatform::create_private_directory(
    const std::string& prefix) {
    std::string path = prefix + ".XXXXXX";
    if (::mkdtemp(path.data()) == nullptr) return refused(errno);
    private_directories_.push_back(path);
    auto directory = open_extraction_directory(path);
    if (!directory) return std::unexpected(directory.error());
    return std::pair(path, std::move(*directory));
}

SystemResult<std::unique_ptr<ExtractionDirectory>> PosixPlatform::open_extraction_directory(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return refused(errno);
    // The temporary directory may be shared and the name is predictable: use only our own private
    // directory, and only the one that was checked (a link in its place is refused by O_NOFOLLOW).
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        if (error != ELOOP && error != ENOTDIR) return refused(error);
        // Only to say why: what is there is not used either way.
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return refused("a symbolic link, not a directory");
        return refused("not a directory");
    }
    struct stat st;
    std::optional<std::string> problem;
    if (::fstat(fd, &st) != 0) problem = std::strerror(errno);
    else if (!S_ISDIR(st.st_mode)) problem = "not a directory";
    else if (st.st_uid != ::geteuid()) problem = "owned by another user (uid " + std::to_string(st.st_uid) + ")";
    else if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        problem = std::string("writable by other users (mode ") + mode + ")";
    }
    if (problem) {
        ::close(fd);
        return refused(*problem);
    }
    return std::make_unique<PosixExtractionDirectory>(fd);
}

void* PosixPlatform::find_symbol(void* library, const char* name) { return ::dlsym(library, name); }

void PosixPlatform::show_message(std::string_view message, std::string_view detail) {
    std::string text(message);
    if (!detail.empty()) text += "\n" + std::string(detail);
    std::string lines = "Error: " + text + "\n";
    std::fwrite(lines.data(), 1, lines.size(), stderr);
    std::fflush(stderr);

    // Started from a desktop menu, stderr goes nowhere the user looks: show a dialog too. Without a
    // display a dialog could never be answered: never wait for one then.
    if (!non_empty(std::getenv("DISPLAY")) && !non_empty(std::getenv("WAYLAND_DISPLAY"))) return;
    const std::pair<const char*, std::vector<std::string>> dialogs[] = {
        {"zenity", {"--error", "--title=Error", "--no-markup", "--text=" + text}},
        {"kdialog", {"--title", "Error", "--error", text}},
        {"xmessage", {"-center", "-title", "Error", "-buttons", "OK:0", "-default", "OK", text}},
    };
    for (const auto& [name, args] : dialogs) {
        std::string tool = find_on_path(name);
        if (!tool.empty() && run_dialog(tool, args)) return;
    }
}

}  // namespace brindle::launcher
