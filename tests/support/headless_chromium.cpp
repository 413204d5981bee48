#include "tests/support/headless_chromium.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <httplib.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace brindle::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

}  // namespace

std::optional<fs::path> HeadlessChromium::find() {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (const char* name : {"chromium", "chromium-headless-shell"}) {
        for (size_t at = 0; at <= folders.size();) {
            size_t end = std::min(folders.find(':', at), folders.size());
            fs::path candidate = fs::path(folders.substr(at, end - at)) / name;
            if (::access(candidate.c_str(), X_OK) == 0) return candidate;
            at = end + 1;
        }
    }
    return std::nullopt;
}

Result<std::unique_ptr<HeadlessChromium>> HeadlessChromium::start(const fs::path& browser, const std::string& url) {
    char folder[] = "/tmp/brindle-chromium-XXXXXX";
    if (!::mkdtemp(folder)) return fail("cannot make a profile folder");
    std::unique_ptr<HeadlessChromium> chromium(new HeadlessChromium(folder));
    std::vector<std::string> arguments = {browser.string(),
                                          "--headless",
                                          "--disable-gpu",
                                          "--no-first-run",
                                          "--no-default-browser-check",
                                          "--remote-debugging-port=0",
                                          "--user-data-dir=" + chromium->profile_.string(),
                                          url};
    // Its sandbox refuses to start as root (a CI container).
    if (::geteuid() == 0) arguments.insert(arguments.begin() + 1, "--no-sandbox");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string output = (chromium->profile_ / "chromium.out").string();
    const pid_t parent = ::getpid();
    chromium->pid_ = ::fork();
    if (chromium->pid_ < 0) return fail("cannot start " + browser.string());
    if (chromium->pid_ == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
        ::setpgid(0, 0);  // its helper processes end with it
        int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }

    // The browser writes the port it chose into its profile once DevTools listens.
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline) {
        std::ifstream active(chromium->profile_ / "DevToolsActivePort");
        if (active >> chromium->devtools_port_ && chromium->devtools_port_ > 0) return chromium;
        if (::waitpid(chromium->pid_, nullptr, WNOHANG) == chromium->pid_) {
            chromium->pid_ = -1;
            return fail(browser.string() + " ended at start; see its output");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return fail(browser.string() + " did not open its DevTools port within 60 s");
}

HeadlessChromium::~HeadlessChromium() {
    if (pid_ > 0) {
        ::kill(-pid_, SIGKILL);
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {}
    }
    std::error_code error;
    fs::remove_all(profile_, error);
}

Result<std::vector<std::string>> HeadlessChromium::page_titles() const {
    httplib::Client devtools("127.0.0.1", devtools_port_);
    auto answer = devtools.Get("/json/list");
    if (!answer || answer->status != 200) return fail("DevTools did not answer /json/list");
    std::vector<std::string> titles;
    const QJsonArray targets = QJsonDocument::fromJson(QByteArray::fromStdString(answer->body)).array();
    for (const QJsonValue& target : targets)
        if (target.toObject().value("type").toString() == "page")
            titles.push_back(target.toObject().value("title").toString().toStdString());
    return titles;
}

}  // namespace brindle::test
