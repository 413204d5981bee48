// brindle-preview serve over the sample site: requests per second for the home page and for a
// static file with 8 clients at once, the home page rendered without HTTP (the baseline the HTTP
// figures compare with), and the time from a template save to the reload event and to the new text
// in headless Chromium. Process CPU time is reported beside wall time.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "dede/serve/preview_server.h"
#include "dede/serve/site_pages.h"
#include "dede/serve/site_session.h"
#include "tests/support/headless_chromium.h"

namespace {

namespace fs = std::filesystem;
using namespace brindle;
using namespace brindle::preview;
using Clock = std::chrono::steady_clock;

const fs::path kBuild = BRINDLE_BUILD_DIR;
const fs::path kScratch = fs::temp_directory_path() / ("brindle-serve-bench-" + std::to_string(::getpid()));
const fs::path kTemplets = kScratch / "templets";
PreviewServer* server = nullptr;

Result<SiteSession> sample_session() {
    SiteArguments site;
    site.site_url = "sqlite:" + (kBuild / "sample-site.sqlite").string();
    site.now = 1717243200;  // 2024-06-01 12:00:00 UTC
    return open_site_session(site, kBuild, kTemplets);
}

void get_repeatedly(benchmark::State& state, const std::string& target) {
    httplib::Client client(server->origin());
    client.set_keep_alive(true);
    for (auto _ : state) {
        auto answer = client.Get(target);
        if (!answer || answer->status != 200) {
            state.SkipWithError(("GET " + target + " failed").c_str());
            break;
        }
        benchmark::DoNotOptimize(answer->body.data());
    }
    state.SetItemsProcessed(state.iterations());
}

// The baseline: what the server does for the home page, without HTTP (render, brindle-check of its
// templates, the reload script). The sample home page starts no PHP, so these pages share nothing
// with the server's.
void BM_HomePageWithoutHttp(benchmark::State& state) {
    auto session = sample_session();
    if (!session) return state.SkipWithError(session.error().message.c_str());
    SitePages pages(*session, "http://127.0.0.1:1", std::nullopt);
    const dede::Route home(dede::Route::Kind::Home);
    for (auto _ : state) benchmark::DoNotOptimize(pages.page(home, "/", 1).body.data());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HomePageWithoutHttp)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_HomePage(benchmark::State& state) { get_repeatedly(state, "/"); }
BENCHMARK(BM_HomePage)->Threads(1)->Threads(8)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_StaticFile(benchmark::State& state) { get_repeatedly(state, "/templets/default/style.css"); }
BENCHMARK(BM_StaticFile)->Threads(1)->Threads(8)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

// From the write of a template to the reload event on an open page's stream.
void BM_SaveToReloadEvent(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        const uint64_t since = server->generation();
        std::atomic<bool> heard = false;
        Clock::time_point saved, told;
        std::thread page([&] {
            httplib::Client events(server->origin());
            (void)events.Get("/__brindle/events?since=" + std::to_string(since), [&](const char* data, size_t size) {
                if (std::string_view(data, size).find("data: reload") == std::string_view::npos) return true;
                told = Clock::now();
                heard = true;
                return false;
            });
        });
        while (server->listeners() == 0) std::this_thread::yield();
        saved = Clock::now();
        std::ofstream(kTemplets / "default/footer.htm") << "<footer>" << ++round << "</footer>\n";
        page.join();
        if (!heard) return state.SkipWithError("no reload event");
        state.SetIterationTime(std::chrono::duration<double>(told - saved).count());
        while (server->listeners() != 0) std::this_thread::yield();
    }
}
BENCHMARK(BM_SaveToReloadEvent)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// From the write of a template to its new title in a page open in headless Chromium: the event,
// the reload, the render and the browser's own work. The title is asked for over DevTools, which
// adds a little to each figure.
void BM_SaveToBrowser(benchmark::State& state) {
    auto browser = test::HeadlessChromium::find();
    if (!browser) return state.SkipWithError("no chromium installed");
    auto page = [](int round) {
        return "<html><head><title>round " + std::to_string(round) + "</title></head><body><p>round " +
               std::to_string(round) + "</p></body></html>";
    };
    std::ofstream(kTemplets / "default/index.htm") << page(0);
    auto chromium = test::HeadlessChromium::start(*browser, server->origin() + "/");
    if (!chromium) return state.SkipWithError(chromium.error().message.c_str());
    auto showing = [&](const std::string& title) {
        auto titles = (*chromium)->page_titles();
        return titles && std::find(titles->begin(), titles->end(), title) != titles->end();
    };
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (!(showing("round 0") && server->listeners() > 0) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    int round = 0;
    for (auto _ : state) {
        ++round;
        const auto saved = Clock::now();
        std::ofstream(kTemplets / "default/index.htm") << page(round);
        while (!showing("round " + std::to_string(round))) {
            if (Clock::now() - saved > std::chrono::seconds(10))
                return state.SkipWithError("the browser never showed the save");
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - saved).count());
        // The page listens again before the next save.
        while (server->listeners() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
BENCHMARK(BM_SaveToBrowser)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    fs::remove_all(kScratch);
    fs::create_directories(kScratch);
    fs::copy(kBuild / "sample-templets", kTemplets, fs::copy_options::recursive);
    auto session = sample_session();
    if (!session) {
        std::fprintf(stderr, "%s\n", session.error().message.c_str());
        return 1;
    }
    auto started = PreviewServer::start(std::move(*session), {0, kBuild / "sample-uploads"});
    if (!started) {
        std::fprintf(stderr, "%s\n", started.error().message.c_str());
        return 1;
    }
    server = started->get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    started->reset();
    fs::remove_all(kScratch);
    return 0;
}
