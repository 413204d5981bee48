#include "dede/serve/folder_watcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

#include "common/try.h"

namespace brindle::preview {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFileEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB;
constexpr uint32_t kFolderEvents = kFileEvents | IN_DELETE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW;
constexpr uint32_t kParentEvents = IN_CREATE | IN_MOVED_TO | IN_ONLYDIR;
// A save is several events in a few milliseconds (write a new file, rename it, remove a backup);
// they are told as one once this long passes without another.
constexpr int kQuietMs = 15;
constexpr int kLongestBurstMs = 100;

// Editors' own files: swap and lock files start with a dot, backups end in a tilde.
bool editor_scratch(std::string_view name) { return name.starts_with('.') || name.ends_with('~'); }

}  // namespace

Result<std::unique_ptr<FolderWatcher>> FolderWatcher::start(const fs::path& root, std::function<void()> changed) {
    int inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify < 0) return fail(std::string("inotify: ") + std::strerror(errno));
    int stop = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (stop < 0) {
        close(inotify);
        return fail(std::string("eventfd: ") + std::strerror(errno));
    }
    std::error_code ec;
    fs::path folder = fs::absolute(root, ec).lexically_normal();
    if (!folder.has_filename()) folder = folder.parent_path();  // "templets/" names "templets"
    std::unique_ptr<FolderWatcher> watcher(new FolderWatcher(folder, inotify, stop, std::move(changed)));
    BRINDLE_CHECK(watcher->watch_tree(folder));
    // The parent sees the root made again. Without that watch (a parent we may not read) the root is
    // watched until it goes, and the serving goes on either way.
    if (folder.has_filename())
        watcher->parent_ = inotify_add_watch(inotify, folder.parent_path().c_str(), kParentEvents);
    watcher->thread_ = std::thread([w = watcher.get()] { w->run(); });
    return watcher;
}

FolderWatcher::FolderWatcher(const fs::path& root, int inotify, int stop, std::function<void()> changed)
    : root_(root), inotify_(inotify), stop_(stop), changed_(std::move(changed)) {}

FolderWatcher::~FolderWatcher() {
    if (thread_.joinable()) {
        uint64_t one = 1;
        (void)!write(stop_, &one, sizeof one);
        thread_.join();
    }
    close(inotify_);
    close(stop_);
}

Result<void> FolderWatcher::watch_tree(const fs::path& folder) {
    std::error_code ec;
    std::vector<fs::path> folders{folder};
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec) && !it->is_symlink(ec)) folders.push_back(it->path());
    if (ec) return fail("cannot list " + folder.string() + ": " + ec.message());
    for (const fs::path& f : folders) {
        int wd = inotify_add_watch(inotify_, f.c_str(), kFolderEvents);
        if (wd < 0) {
            if (errno == ENOENT) continue;  // gone since it was listed
            return fail("cannot watch " + f.string() + ": " + std::strerror(errno) +
                        (errno == ENOSPC ? " (raise fs.inotify.max_user_watches)" : ""));
        }
        folders_[wd] = f;
    }
    return {};
}

bool FolderWatcher::take_events(const char* buffer, size_t size) {
    bool any = false;
    for (size_t at = 0; at + sizeof(inotify_event) <= size;) {
        inotify_event event;
        std::memcpy(&event, buffer + at, sizeof event);
        if (event.len > size - at - sizeof event) break;  // the kernel gives whole events; never read past them
        std::string_view name(buffer + at + sizeof event, event.len);
        name = name.substr(0, name.find('\0'));
        at += sizeof event + event.len;
        auto folder = folders_.find(event.wd);
        if (event.mask & IN_Q_OVERFLOW) {
            any = true;  // events were lost: whatever changed, reload
            continue;
        }
        if (event.wd == parent_ && parent_ >= 0) {
            // Only the root's own name counts here; its siblings are none of the preview's business.
            if ((event.mask & IN_ISDIR) && name == root_.filename().native()) {
                (void)watch_tree(root_);
                any = true;
            }
            continue;
        }
        if (folder == folders_.end()) continue;
        const fs::path path = name.empty() ? folder->second : folder->second / name;
        if (event.mask & IN_IGNORED) {
            folders_.erase(folder);
            continue;
        }
        if ((event.mask & IN_ISDIR) && (event.mask & (IN_CREATE | IN_MOVED_TO))) (void)watch_tree(path);
        if (!name.empty() && editor_scratch(name)) continue;
        any = true;
    }
    return any;
}

void FolderWatcher::run() {
    alignas(inotify_event) char buffer[64 * 1024];
    pollfd fds[2] = {{inotify_, POLLIN, 0}, {stop_, POLLIN, 0}};
    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> burst_began;
    for (;;) {
        int wait_ms = -1;
        if (burst_began) {
            auto burst_ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - *burst_began).count();
            wait_ms = static_cast<int>(std::clamp<long long>(kLongestBurstMs - burst_ms, 0, kQuietMs));
        }
        int ready = poll(fds, 2, wait_ms);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || (fds[1].revents & POLLIN)) return;
        if (ready > 0) {
            ssize_t got = read(inotify_, buffer, sizeof buffer);
            if (got > 0 && take_events(buffer, static_cast<size_t>(got)) && !burst_began) burst_began = Clock::now();
        }
        // Quiet for a while, or a burst that goes on: tell it.
        if (burst_began && (ready == 0 || Clock::now() - *burst_began >= std::chrono::milliseconds(kLongestBurstMs))) {
            burst_began.reset();
            changed_();
        }
    }
}

}  // namespace brindle::preview
