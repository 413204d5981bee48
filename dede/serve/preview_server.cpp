#include "dede/serve/preview_server.h"

#include <httplib.h>
#include <malloc.h>
#include <sys/socket.h>

#include <chrono>
#include <string_view>

#include "common/try.h"
#include "dede/serve/folder_watcher.h"
#include "dede/serve/page_decoration.h"
#include "dede/serve/reload_events.h"
#include "dede/serve/serial_worker.h"
#include "dede/serve/site_pages.h"

namespace brindle::preview {
namespace {

using dede::Route;

constexpr const char* kLoopback = "127.0.0.1";
// Each open page holds one thread with its event stream, so there are plenty.
constexpr size_t kHttpThreads = 32;
// An idle event stream says something this often, so a closed page's stream is noticed and ended.
constexpr std::chrono::seconds kStreamKeepAlive{15};

// The host a request names, without its port: a page of another site that makes its own name lead
// here (DNS rebinding) names its own host, and is refused.
bool loopback_host(std::string_view host) {
    if (host.starts_with('['))
        host = host.substr(0, host.find(']') + 1);
    else
        host = host.substr(0, host.find(':'));
    return host.empty() || host == kLoopback || host == "localhost" || host == "[::1]";
}

uint64_t number_or(const std::string& text, uint64_t otherwise) {
    if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos) return otherwise;
    return std::stoull(text);
}

}  // namespace

PreviewServer::PreviewServer() = default;

Result<std::unique_ptr<PreviewServer>> PreviewServer::start(SiteSession session, const ServeOptions& options) {
    // Each page frees what its queries held (SQLite's temporary b-trees among them); giving that back
    // to the system after every page costs more than the page itself in a process with threads.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    std::unique_ptr<PreviewServer> server(new PreviewServer);
    server->session_ = std::move(session);
    // Generations count from the clock, so a page from before a restart of the server reloads.
    const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
    server->events_ =
        std::make_unique<ReloadEvents>(std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count());
    server->http_ = std::make_unique<httplib::Server>();
    httplib::Server& http = *server->http_;
    http.new_task_queue = [] { return new httplib::ThreadPool(kHttpThreads); };
    http.set_keep_alive_max_count(100);
    http.set_keep_alive_timeout(2);  // an idle connection holds up a stop no longer than this
    http.set_tcp_nodelay(true);      // a reply's head and body go out at once, not 40 ms apart (Nagle)
    // cpp-httplib would share the port with any other server that asks (SO_REUSEPORT): a second
    // preview on the same port must be refused instead, so only SO_REUSEADDR (a quick restart).
    http.set_socket_options([](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });

    const int port = options.port == 0                            ? http.bind_to_any_port(kLoopback)
                     : http.bind_to_port(kLoopback, options.port) ? options.port
                                                                  : -1;
    if (port < 0)
        return fail("cannot listen on " + std::string(kLoopback) + ":" + std::to_string(options.port) +
                    (options.port ? " (is another program using that port?)" : ""));
    server->origin_ = "http://" + std::string(kLoopback) + ":" + std::to_string(port);
    server->worker_ = std::make_unique<SerialWorker>();
    server->pages_ = std::make_unique<SitePages>(server->session_, server->origin_, options.uploads);
    server->add_routes();

    ReloadEvents* events = server->events_.get();
    auto watcher = FolderWatcher::start(server->session_.templets, [events] { events->changed(); });
    if (!watcher) return fail("cannot watch the templets folder: " + watcher.error().message);
    server->watcher_ = std::move(*watcher);

    server->listener_ = std::thread([&http] { http.listen_after_bind(); });
    while (!http.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return server;
}

PreviewServer::~PreviewServer() { stop(); }

uint64_t PreviewServer::generation() const { return events_->generation(); }

void PreviewServer::stop() {
    if (stopped_) return;
    stopped_ = true;
    watcher_.reset();
    if (events_) events_->close();  // the event streams end, so their threads are free
    if (listener_.joinable()) {
        http_->stop();
        listener_.join();  // after every request under way
    }
    // The pages (and PHP with them) end on the thread that used them.
    if (worker_) worker_->run([this] { pages_.reset(); });
    worker_.reset();
}

void PreviewServer::add_routes() {
    httplib::Server& http = *http_;
    http.set_pre_routing_handler([](const httplib::Request& request, httplib::Response& response) {
        if (loopback_host(request.get_header_value("Host"))) return httplib::Server::HandlerResponse::Unhandled;
        response.status = 403;
        response.set_content("brindle-preview answers only to addresses on 127.0.0.1\n", "text/plain; charset=utf-8");
        return httplib::Server::HandlerResponse::Handled;
    });

    http.Get(std::string(kEventsPath), [this](const httplib::Request& request, httplib::Response& response) {
        auto seen = std::make_shared<uint64_t>(number_or(request.get_param_value("since"), events_->generation()));
        response.set_header("Cache-Control", "no-store");
        ++listeners_;
        response.set_chunked_content_provider(
            "text/event-stream",
            [this, seen](size_t, httplib::DataSink& sink) {
                auto now = events_->wait_past(*seen, kStreamKeepAlive);
                if (!now) return false;  // the server stops
                if (*now == *seen) return sink.write(": still here\n\n", 14);
                // The page reloads and opens a stream of its own: this one has said all it will.
                const bool sent = sink.write("data: reload\n\n", 14);
                sink.done();
                return sent;
            },
            [this](bool) { --listeners_; });
    });

    http.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        const uint64_t generation = events_->generation();  // before the render: a save during it reloads
        const size_t question = request.target.find('?');
        const std::string_view query =
            question == std::string::npos ? std::string_view() : std::string_view(request.target).substr(question + 1);
        const Route route = pages_->router().route(request.path, query);
        Reply reply;
        switch (route.kind) {
            case Route::Kind::NotFound: reply = pages_->not_found(request.path, generation); break;
            case Route::Kind::TemplateFile:
            case Route::Kind::UploadFile: reply = pages_->file(route, request.path, generation); break;
            default: reply = worker_->run([&] { return pages_->page(route, request.path, generation); });
        }
        response.status = reply.status;
        if (!reply.location.empty()) response.set_header("Location", reply.location);
        response.set_header("Cache-Control", "no-cache");
        response.set_header("Content-Type", reply.content_type);
        response.body = std::move(reply.body);
    });

    http.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
        std::string what = "unknown";
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {}
        response.status = 500;
        response.set_content(
            message_page("500: the preview failed", "brindle-preview failed on this request:", {what}, "/"),
            "text/html; charset=utf-8");
    });
}

}  // namespace brindle::preview
