#pragma once
// Tells when anything under a folder changes, through inotify on the folder and every folder below
// it (editors save by writing a new file and renaming it over the old, so files alone are not
// enough). Changes that come together, as the steps of one save do, are told once. The folder itself
// may be removed and made again (a checkout, a copy put in its place): it is watched again then.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>

#include "common/result.h"

namespace brindle::preview {

class FolderWatcher {
public:
    // `changed` runs on the watcher's own thread, once a burst of changes is over.
    static Result<std::unique_ptr<FolderWatcher>> start(const std::filesystem::path& root,
                                                        std::function<void()> changed);
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

private:
    FolderWatcher(const std::filesystem::path& root, int inotify, int stop, std::function<void()> changed);
    // The folder and every folder below it; symbolic links are not followed.
    Result<void> watch_tree(const std::filesystem::path& folder);
    void run();
    // The events in the buffer: true when one of them counts as a change.
    bool take_events(const char* buffer, size_t size);

    std::filesystem::path root_;
    int inotify_ = -1;
    int parent_ = -1;  // the watch on the root's parent, which sees the root made again
    int stop_ = -1;  // an eventfd that ends run()
    std::function<void()> changed_;
    std::unordered_map<int, std::filesystem::path> folders_;  // by watch descriptor
    std::thread thread_;
};

}  // namespace brindle::preview
