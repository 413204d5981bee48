// brindle-preview serve through a real HTTP client: the sample site's pages and files with their
// types and charsets, links that work when followed, the traversal attempts, the 404 and 500 pages,
// the diagnostics overlay, the reload events a save starts, and the command stopped by Ctrl+C.
#include <gtest/gtest.h>
#include <httplib.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "dede/serve/page_decoration.h"
#include "dede/serve/preview_server.h"
#include "dede/serve/site_session.h"
#include "tests/support/headless_chromium.h"

extern char** environ;

namespace brindle::preview {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path kBuild = BRINDLE_BUILD_DIR;
constexpr int64_t kClock = 1717243200;  // 2024-06-01 12:00:00 UTC
// How long a test waits for what must come; it fails only when the thing never comes.
constexpr auto kPatience = std::chrono::seconds(20);

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string script(uint64_t generation) {
    return "<script>/* brindle-preview: reloads this page when a template is saved */\n"
           "new EventSource(\"/__brindle/events?since=" +
           std::to_string(generation) +
           "\").onmessage = function () { this.close(); location.reload(); };\n</script>\n";
}

// The script and the overlay go before the page's last </body>, whatever its case, or at its end.
TEST(PageDecoration, AdditionsGoBeforeTheLastBodyEnd) {
    EXPECT_EQ(before_body_end("<p>a</p></body></html>", "+"), "<p>a</p>+</body></html>");
    EXPECT_EQ(before_body_end("<p>a</p></BODY>\n", "+"), "<p>a</p>+</BODY>\n");
    EXPECT_EQ(before_body_end("<script>'</body>'</script></Body>", "+"), "<script>'</body>'</script>+</Body>");
    EXPECT_EQ(before_body_end("<p>no end", "+"), "<p>no end+");
    EXPECT_EQ(before_body_end("</bod", "+"), "</bod+");
    EXPECT_EQ(diagnostics_overlay({}), "");
}

class PreviewServe : public ::testing::Test {
protected:
    fs::path scratch = fs::temp_directory_path() / ("brindle-serve-" + std::to_string(::getpid()));
    fs::path templets = scratch / "templets";
    std::unique_ptr<PreviewServer> server;
    std::unique_ptr<httplib::Client> client;

    void SetUp() override {
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        fs::copy(kBuild / "sample-templets", templets, fs::copy_options::recursive);
        SiteArguments site;
        site.site_url = "sqlite:" + (kBuild / "sample-site.sqlite").string();
        site.now = kClock;
        auto session = open_site_session(site, kBuild, templets);
        ASSERT_TRUE(session.has_value()) << session.error().message;
        auto started = PreviewServer::start(std::move(*session), {0, kBuild / "sample-uploads"});
        ASSERT_TRUE(started.has_value()) << started.error().message;
        server = std::move(*started);
        client = std::make_unique<httplib::Client>(server->origin());
        client->set_url_encode(false);  // every request target goes out as written
        client->set_read_timeout(60);
    }
    void TearDown() override {
        client.reset();
        server.reset();
        fs::remove_all(scratch);
    }

    httplib::Result get(const std::string& target, const httplib::Headers& headers = {}) {
        return client->Get(target, headers);
    }
    void save(const std::string& file, const std::string& text) {
        std::ofstream(templets / file, std::ios::binary) << text;
    }
    // Waits until the saves since `before` have been told and no more are coming, so that a page
    // rendered next carries the generation it will keep.
    void wait_until_told(uint64_t before) {
        const auto deadline = Clock::now() + kPatience;
        while (server->generation() == before && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        for (uint64_t seen = 0; seen != server->generation() && Clock::now() < deadline;) {
            seen = server->generation();
            std::this_thread::sleep_for(std::chrono::milliseconds(200));  // longer than the longest burst
        }
    }
};

TEST_F(PreviewServe, PagesGoOutInTheSitesCharsetWithTheReloadScript) {
    ASSERT_TRUE(server->origin().starts_with("http://127.0.0.1:"));
    const uint64_t generation = server->generation();
    auto home = get("/");
    ASSERT_TRUE(home);
    EXPECT_EQ(home->status, 200);
    EXPECT_EQ(home->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(home->body.find("<title>织梦示例站点</title>"), std::string::npos);
    EXPECT_TRUE(home->body.ends_with("</footer>\n\n" + script(generation) + "</body>\n</html>\n"))
        << home->body.substr(home->body.size() - 400);
    EXPECT_EQ(home->body.find("brindle-diagnostics"), std::string::npos);  // the sample templates are clean
    EXPECT_EQ(get("/index.html")->body, home->body);

    auto folder = get("/a/news");
    EXPECT_EQ(folder->status, 301);
    EXPECT_EQ(folder->get_header_value("Location"), "/a/news/");
    auto dynamic = get("/plus/list.php?tid=4");
    EXPECT_EQ(dynamic->status, 200);
    EXPECT_NE(dynamic->body.find("<title>About Us_织梦示例站点</title>"), std::string::npos);
}

// Every link of a list page's pagelist, relative (list_1_2.html) or not (/plus/list.php?...), leads
// to the page it names.
TEST_F(PreviewServe, PagelistLinksWorkWhenFollowed) {
    // Pages of two articles, so the dynamic category has a few.
    save("default/list_default.htm",
         std::regex_replace(slurp(templets / "default/list_default.htm"), std::regex("pagesize='15'"), "pagesize='2'"));
    const std::regex link("<li><a href='([^']+)'>([0-9]+)</a></li>");
    for (const std::string& page :
         std::vector<std::string>{"/a/news/", "/a/news/index.html", "/a/news/list_1_2.html", "/plus/list.php?tid=4"}) {
        auto list = get(page);
        ASSERT_EQ(list->status, 200) << page;
        int followed = 0;
        for (std::sregex_iterator it(list->body.begin(), list->body.end(), link), end; it != end; ++it, ++followed) {
            std::string href = (*it)[1].str();
            if (!href.starts_with('/')) href = page.substr(0, page.rfind('/') + 1) + href;
            href = std::regex_replace(href, std::regex("&amp;"), "&");
            auto next = get(href);
            ASSERT_EQ(next->status, 200) << page << " -> " << href;
            EXPECT_TRUE(std::regex_search(
                next->body, std::regex("<li class=\"thisclass\">(<a>)?" + (*it)[2].str() + "(</a>)?</li>")))
                << page << " -> " << href;
        }
        EXPECT_GE(followed, 1) << page;
    }
}

TEST_F(PreviewServe, FilesGoOutAsTheyAre) {
    auto css = get("/templets/default/style.css");
    EXPECT_EQ(css->status, 200);
    EXPECT_EQ(css->get_header_value("Content-Type"), "text/css; charset=utf-8");
    EXPECT_EQ(css->body, slurp(templets / "default/style.css"));
    auto picture = get("/uploads/allimg/sample/pic2.jpg");
    EXPECT_EQ(picture->status, 200);
    EXPECT_EQ(picture->get_header_value("Content-Type"), "image/jpeg");
    EXPECT_EQ(picture->body, slurp(kBuild / "sample-uploads/allimg/sample/pic2.jpg"));
    EXPECT_EQ(get("/uploads/flink/example.gif")->get_header_value("Content-Type"), "image/gif");
    // A link inside the folder is followed.
    fs::create_symlink("style.css", templets / "default/alias.css");
    EXPECT_EQ(get("/templets/default/alias.css")->body, css->body);
}

TEST_F(PreviewServe, NothingOutsideItsFoldersGoesOut) {
    std::ofstream(scratch / "secret.txt") << "root:x:0:0";
    fs::create_symlink(scratch / "secret.txt", templets / "default/escape.css");
    fs::create_symlink(scratch, templets / "outside");
    fs::create_symlink("../../secret.txt", templets / "default/climb.css");
    for (const std::string& target : std::vector<std::string>{
             "/templets/../secret.txt", "/templets/default/../../secret.txt", "/templets/%2e%2e/secret.txt",
             "/templets/%2E%2E/%2e%2e/etc/passwd", "/uploads/..%2f..%2fsecret.txt", "/templets/%2fetc%2fpasswd",
             "//etc/passwd", "/templets//etc/passwd", "/templets/default/escape.css", "/templets/outside/secret.txt",
             "/templets/default/climb.css", "/templets/default/", "/templets/default", "/uploads/..",
             "/templets/default/style.css%00.jpg", "/..%5c..%5csecret.txt", "http://127.0.0.1/etc/passwd",
             "/etc/passwd", (fs::absolute(scratch) / "secret.txt").string()}) {
        auto answer = get(target);
        ASSERT_TRUE(answer) << target;
        EXPECT_EQ(answer->status, 404) << target;
        EXPECT_EQ(answer->body.find("root:"), std::string::npos) << target;
    }
}

TEST_F(PreviewServe, OnlyAddressesOnTheLoopbackAreAnswered) {
    // A page elsewhere whose own name was made to lead here names its own host.
    auto rebound = get("/", {{"Host", "attacker.example:8080"}});
    EXPECT_EQ(rebound->status, 403);
    EXPECT_EQ(rebound->body, "brindle-preview answers only to addresses on 127.0.0.1\n");
    EXPECT_EQ(get("/", {{"Host", "localhost"}})->status, 200);
}

TEST_F(PreviewServe, MissingPagesAre404AndFailedRendersAre500) {
    const uint64_t generation = server->generation();
    auto missing = get("/nothing.html");
    EXPECT_EQ(missing->status, 404);
    EXPECT_EQ(missing->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(missing->body.find("<p>This site has no page at /nothing.html.</p>"), std::string::npos);
    EXPECT_TRUE(missing->body.ends_with(script(generation) + "</body>\n</html>\n"));
    // An article at a date it was not written on is no file of the site; at its own, it is rendered.
    EXPECT_EQ(get("/a/news/2099/0101/59.html")->status, 404);
    EXPECT_EQ(get("/a/news/2023/1128/59_1.html")->status, 404);
    EXPECT_NE(get("/a/news/2023/1128/59.html")->status, 404);
    EXPECT_NE(get("/plus/view.php?aid=59")->status, 404);
    EXPECT_EQ(get("/plus/view.php?aid=9999")->status, 404);

    fs::remove(templets / "default/list_article.htm");
    fs::remove(templets / "default/list_default.htm");
    auto failed = get("/a/tech/list_3_1.html");
    EXPECT_EQ(failed->status, 500);
    EXPECT_NE(
        failed->body.find(
            "<pre style=\"background:#fff4f2;border-left:3px solid #c62828;padding:8px 12px;white-space:pre-wrap\">"
            "no template " +
            (templets / "default/list_default.htm").string() + " (模板文件不存在，无法解析文档！)\n</pre>"),
        std::string::npos)
        << failed->body;
    // The server goes on.
    EXPECT_EQ(get("/")->status, 200);
}

TEST_F(PreviewServe, DiagnosticsShowOverThePageUntilFixed) {
    save("default/index.htm",
         "<html><body>\n"
         "  {dede:sql sql=\"DELETE FROM dede_archives\"}[field:id/]{/dede:sql}\n"
         "{dede:include filename=\"part.htm\"/}</body></html>");
    save("default/part.htm", "<p>{dede:field.title}</p>\n");
    auto page = get("/");
    EXPECT_EQ(page->status, 200);
    const std::string overlay_start = "<div id=\"brindle-diagnostics\"";
    size_t at = page->body.find(overlay_start);
    ASSERT_NE(at, std::string::npos) << page->body;
    size_t lines = page->body.find("<strong>", at);
    EXPECT_EQ(
        page->body.substr(lines, page->body.find("</div>", lines) - lines),
        "<strong>3 problems in the templates of this page</strong>\n"
        "default/index.htm:2:3: error: {dede:sql}: only a SELECT is run on the site&#39;s database; this statement is not one\n"
        // The same fault as rendering meets it, then as brindle-check explains it.
        "default/part.htm:1:4: error: {dede:field.title} never ends: DedeCMS stops reading tags here\n"
        "default/part.htm:1:4: error: {dede:field.title} has no matching {/dede:field.title}; a tag without a body ends in /}\n");

    const uint64_t before = server->generation();
    save("default/index.htm", "<html><body>\n  fixed\n{dede:include filename=\"part.htm\"/}</body></html>");
    save("default/part.htm", "<p>{dede:field.title/}</p>\n");
    wait_until_told(before);
    EXPECT_EQ(get("/")->body, "<html><body>\n  fixed\n<p></p>\n" + script(server->generation()) + "</body></html>");
}

TEST_F(PreviewServe, LinksToTheSitesOwnHostStayInThePreview) {
    const uint64_t before = server->generation();
    save(
        "default/index.htm",
        "<a href=\"{dede:global.cfg_basehost/}/a/news/\">news</a> <a href='{dede:global.cfg_basehost/}'>home</a> "
        "<a href=\"http://www.example.com.cn/\">another site</a> <a href=\"http://www.example.community\">and another</a>");
    wait_until_told(before);
    EXPECT_EQ(get("/")->body, "<a href=\"" + server->origin() + "/a/news/\">news</a> <a href='" + server->origin() +
                                  "'>home</a> <a href=\"http://www.example.com.cn/\">another site</a> "
                                  "<a href=\"http://www.example.community\">and another</a>" +
                                  script(server->generation()));
}

// An event stream from the page's generation on: what it received once `until` shows up. `then`
// runs once the stream is open.
std::string events_until(PreviewServer& server, uint64_t since, const std::string& until,
                         const std::function<void()>& then = {}) {
    std::string received;
    std::thread reader([&] {
        httplib::Client events(server.origin());
        events.set_read_timeout(60);
        (void)events.Get("/__brindle/events?since=" + std::to_string(since), [&](const char* data, size_t size) {
            received.append(data, size);
            return received.find(until) == std::string::npos;
        });
    });
    if (then) {
        const auto deadline = Clock::now() + kPatience;
        while (server.listeners() == 0 && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        then();
    }
    reader.join();
    return received;
}

TEST_F(PreviewServe, ASaveTellsEveryOpenPageToReload) {
    const uint64_t first = server->generation();
    // Written in place.
    EXPECT_EQ(
        events_until(*server, first, "data: reload\n\n", [&] { save("default/footer.htm", "<footer>new</footer>"); }),
        "data: reload\n\n");
    EXPECT_GT(server->generation(), first);

    // Saved as editors do: a new file renamed over the old, in a folder made after the server started.
    fs::create_directories(templets / "default/new");
    const uint64_t second = server->generation();
    EXPECT_EQ(events_until(*server, second, "data: reload\n\n",
                           [&] {
                               save("default/new/.part.htm.swp", "x");
                               save("default/new/part.tmp", "<p>part</p>");
                               fs::rename(templets / "default/new/part.tmp", templets / "default/new/part.htm");
                           }),
              "data: reload\n\n");

    // A page rendered before a save it has not heard of reloads as soon as it listens.
    EXPECT_EQ(events_until(*server, first, "data: reload\n\n"), "data: reload\n\n");
    const auto deadline = Clock::now() + kPatience;
    while (server->listeners() != 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(server->listeners(), 0u);
}

TEST_F(PreviewServe, ATemplateFolderPutInPlaceOfTheOldIsWatched) {
    // As a checkout or a restore does: the folder moved away, a copy made beside it renamed into place.
    fs::rename(templets, scratch / "old");
    fs::copy(scratch / "old", scratch / "new", fs::copy_options::recursive);
    const uint64_t first = server->generation();
    EXPECT_EQ(events_until(*server, first, "data: reload\n\n", [&] { fs::rename(scratch / "new", templets); }),
              "data: reload\n\n");

    const uint64_t second = server->generation();
    EXPECT_EQ(events_until(*server, second, "data: reload\n\n",
                           [&] { save("default/footer.htm", "<footer>in the new folder</footer>"); }),
              "data: reload\n\n");
    auto home = get("/");
    ASSERT_TRUE(home);
    EXPECT_NE(home->body.find("<footer>in the new folder</footer>"), std::string::npos);
}

// Live reload in a real browser: a page open in headless Chromium shows a template's new text once
// it is saved.
TEST_F(PreviewServe, ASavedTemplateShowsInTheOpenBrowser) {
    auto browser = test::HeadlessChromium::find();
    if (!browser) GTEST_SKIP() << "no chromium or chromium-headless-shell on PATH (scripts/deps.sh installs chromium)";
    save("default/index.htm", "<html><head><title>before the save</title></head><body><p>before</p></body></html>");
    auto chromium = test::HeadlessChromium::start(*browser, server->origin() + "/");
    ASSERT_TRUE(chromium.has_value()) << chromium.error().message;
    auto showing = [&](const std::string& title) {
        auto titles = (*chromium)->page_titles();
        return titles && std::find(titles->begin(), titles->end(), title) != titles->end();
    };
    // Open once it shows the page and listens for saves.
    auto deadline = Clock::now() + 3 * kPatience;
    while (!(showing("before the save") && server->listeners() > 0) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(showing("before the save"));
    ASSERT_EQ(server->listeners(), 1u);

    save("default/index.htm", "<html><head><title>after the save</title></head><body><p>after</p></body></html>");
    deadline = Clock::now() + kPatience;
    while (!showing("after the save") && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(showing("after the save"));
}

// The command itself: the address on stdout, a clean stop on Ctrl+C. A process the test did not
// see end is killed with the test.
struct Spawned {
    pid_t pid = -1;
    int out = -1;
    Spawned(pid_t pid, int out) : pid(pid), out(out) {}
    Spawned(const Spawned&) = delete;
    ~Spawned() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (out >= 0) ::close(out);
    }
    // The exit status once it ends.
    int wait() {
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return status;
    }
};

std::unique_ptr<Spawned> spawn_preview(std::vector<std::string> args) {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return nullptr;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    args.insert(args.begin(), (kBuild / "brindle-preview").string());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_fds[1]);
    if (spawned != 0) {
        ::close(pipe_fds[0]);
        return nullptr;
    }
    return std::make_unique<Spawned>(pid, pipe_fds[0]);
}

// What the process writes until `until` shows up, its output ends, or a minute passes without a word.
std::string read_until(int fd, const std::string& until) {
    std::string text;
    char buffer[512];
    while (text.find(until) == std::string::npos) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 60'000) <= 0) break;
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        text.append(buffer, static_cast<size_t>(got));
    }
    return text;
}

TEST(PreviewServeCommand, CtrlCStopsItCleanly) {
    auto serve = spawn_preview({"serve", "--now", "2024-06-01 12:00:00"});
    ASSERT_TRUE(serve);
    std::string said = read_until(serve->out, "(Ctrl+C stops)\n");
    std::smatch address;
    ASSERT_TRUE(std::regex_search(
        said, address, std::regex("^Serving (http://127\\.0\\.0\\.1:([0-9]+))/ from (.*) \\(Ctrl\\+C stops\\)\n$")))
        << said;
    httplib::Client client(address[1].str());
    auto home = client.Get("/");
    ASSERT_TRUE(home);
    EXPECT_EQ(home->status, 200);
    // Another server cannot take the same port.
    auto second = spawn_preview({"serve", "--port", address[2].str()});
    ASSERT_TRUE(second);
    EXPECT_EQ(read_until(second->out, "\n"), "brindle-preview: cannot listen on 127.0.0.1:" + address[2].str() +
                                                 " (is another program using that port?)\n");
    int status = second->wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;

    ::kill(serve->pid, SIGINT);
    EXPECT_EQ(read_until(serve->out, "\nnever"), "Stopped.\n");
    status = serve->wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(httplib::Client(address[1].str()).Get("/"));
}

// --open hands the address to the desktop's opener, xdg-open from PATH; without one it says so and
// serves on. PATH is the test's own while the command starts.
struct FakeOpener {
    fs::path bin = fs::temp_directory_path() / ("brindle-opener-" + std::to_string(::getpid()));
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    FakeOpener() {
        fs::remove_all(bin);
        fs::create_directories(bin / "none");
        const std::string opened = (bin / "opened").string();
        std::ofstream(bin / "xdg-open") << "#!/bin/sh\necho \"$@\" > \"" << opened << ".tmp\" && mv \"" << opened
                                        << ".tmp\" \"" << opened << "\"\n";
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    }
    ~FakeOpener() { fs::remove_all(bin); }
    std::unique_ptr<Spawned> serve_with_path(const std::string& search) {
        ::setenv("PATH", search.c_str(), 1);
        auto serve = spawn_preview({"serve", "--open"});
        ::setenv("PATH", path.c_str(), 1);
        return serve;
    }
};

std::string served_address(const std::string& said) {
    std::smatch match;
    return std::regex_search(said, match, std::regex("^Serving (http://127\\.0\\.0\\.1:[0-9]+/) from")) ? match[1].str()
                                                                                                        : std::string();
}

TEST(PreviewServeCommand, OpenHandsTheAddressToTheDesktopsOpener) {
    FakeOpener opener;
    auto serve = opener.serve_with_path(opener.bin.string() + ":" + opener.path);
    ASSERT_TRUE(serve);
    const std::string address = served_address(read_until(serve->out, "(Ctrl+C stops)\n"));
    ASSERT_FALSE(address.empty());
    const auto deadline = Clock::now() + kPatience;
    while (!fs::exists(opener.bin / "opened") && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(slurp(opener.bin / "opened"), address + "\n");
    ::kill(serve->pid, SIGINT);
    EXPECT_EQ(read_until(serve->out, "\nnever"), "Stopped.\n");
}

TEST(PreviewServeCommand, OpenWithoutAnOpenerSaysSoAndServesOn) {
    FakeOpener opener;
    auto serve = opener.serve_with_path((opener.bin / "none").string());
    ASSERT_TRUE(serve);
    const std::string said = read_until(serve->out, "yourself\n");
    const std::string address = served_address(said);
    ASSERT_FALSE(address.empty()) << said;
    EXPECT_NE(said.find("brindle-preview: cannot start xdg-open (No such file or directory); open " + address +
                        " yourself\n"),
              std::string::npos)
        << said;
    EXPECT_TRUE(httplib::Client(address.substr(0, address.size() - 1)).Get("/"));
    ::kill(serve->pid, SIGINT);
    EXPECT_EQ(read_until(serve->out, "\nnever"), "Stopped.\n");
}

}  // namespace
}  // namespace brindle::preview
