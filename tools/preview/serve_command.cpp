#include "tools/preview/serve_command.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <ostream>
#include <thread>

#include "common/data_files.h"
#include "common/utf8.h"
#include "dede/serve/preview_server.h"
#include "tools/preview/preview_command.h"

extern char** environ;

namespace brindle::preview {
namespace {

namespace fs = std::filesystem;

constexpr int kStopped = 0, kCannotServe = 2;

// The address in the desktop's browser, through the desktop's own opener.
void open_in_browser(const std::string& url, std::ostream& err) {
    pid_t pid = 0;
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
    if (int error = posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ); error != 0) {
        err << "brindle-preview: cannot start xdg-open (" << std::strerror(error) << "); open " << url << " yourself\n";
        return;
    }
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}

}  // namespace

int run_serve(const std::vector<std::string>& args, const fs::path& tool_dir, std::ostream& out, std::ostream& err) {
    SiteArguments site;
    ServeOptions options;
    bool open = false;
    for (size_t i = 1; i < args.size(); ++i) {
        auto site_option = site.take(args, i);
        if (!site_option) return usage_error(err, site_option.error().message);
        if (*site_option) continue;
        const std::string& a = args[i];
        if (a == "--open") {
            open = true;
        } else if (a == "--port") {
            const std::string port = i + 1 < args.size() ? args[++i] : std::string();
            if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(port) > 65535)
                return usage_error(err, "--port takes a number from 0 to 65535, not '" + port + "'");
            options.port = static_cast<uint16_t>(std::stoi(port));
        } else {
            return usage_error(err, "serve takes no " + a);
        }
    }

    // Ctrl+C and SIGTERM wait for sigwait below: blocked before any thread starts, so that every
    // thread inherits the mask and none is interrupted.
    sigset_t stop_signals, previous;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, &previous);
    auto restore_signals = [&] { pthread_sigmask(SIG_SETMASK, &previous, nullptr); };

    auto session = open_site_session(site, tool_dir, data_file_path(tool_dir, "sample-templets"));
    if (!session) {
        restore_signals();
        err << "brindle-preview: " << session.error().message << "\n";
        return kCannotServe;
    }
    // The upload folder: the sample site's pictures, or the one in the site's own root.
    if (session->sample)
        options.uploads = data_file_path(tool_dir, "sample-uploads");
    else if (site.site_root)
        options.uploads = *site.site_root / fs::path(session->site->global("cfg_medias_dir")).relative_path();
    const fs::path templets = session->templets;

    auto server = PreviewServer::start(std::move(*session), options);
    if (!server) {
        restore_signals();
        err << "brindle-preview: " << terminal_safe(server.error().message) << "\n";
        return kCannotServe;
    }
    const std::string url = (*server)->origin() + "/";
    out << "Serving " << url << " from " << terminal_safe(templets.string()) << " (Ctrl+C stops)" << std::endl;
    if (open) open_in_browser(url, err);

    int signal = 0;
    sigwait(&stop_signals, &signal);
    (*server)->stop();
    restore_signals();
    out << "Stopped." << std::endl;
    return kStopped;
}

}  // namespace brindle::preview
