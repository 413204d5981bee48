#pragma once
// brindle-preview serve: the site as a local web site on the loopback address, rendered from the
// template folder on each request, that tells its open pages to reload when a template is saved.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "common/result.h"
#include "dede/serve/site_session.h"

namespace httplib {
class Server;
}

namespace brindle::preview {

class FolderWatcher;
class ReloadEvents;
class SerialWorker;
class SitePages;

struct ServeOptions {
    uint16_t port = 0;  // 0: a free one
    std::optional<std::filesystem::path> uploads;
};

class PreviewServer {
public:
    // Listening and watching once it returns.
    static Result<std::unique_ptr<PreviewServer>> start(SiteSession session, const ServeOptions& options);
    ~PreviewServer();  // stop()
    PreviewServer(const PreviewServer&) = delete;
    PreviewServer& operator=(const PreviewServer&) = delete;

    // "http://127.0.0.1:PORT"
    const std::string& origin() const { return origin_; }
    // The open pages' event streams, and the template folder's generation (one more each save).
    size_t listeners() const { return listeners_; }
    uint64_t generation() const;
    // Ends the event streams, stops taking requests, waits for those under way; once.
    void stop();

private:
    PreviewServer();
    void add_routes();

    SiteSession session_;
    std::string origin_;
    std::unique_ptr<ReloadEvents> events_;
    std::unique_ptr<SerialWorker> worker_;  // the one thread that renders
    std::unique_ptr<SitePages> pages_;
    std::unique_ptr<httplib::Server> http_;
    std::unique_ptr<FolderWatcher> watcher_;
    std::thread listener_;
    std::atomic<size_t> listeners_ = 0;
    bool stopped_ = false;
};

}  // namespace brindle::preview
