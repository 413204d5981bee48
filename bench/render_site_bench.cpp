// A home page of ten tags over a site of 10,000 articles (the sample site and
// bench/render_site/articles_10k.sql), from SQLite and from MariaDB: the time per page. DedeCMS's
// own PHP renders the same template over the same data in bench/render_site/dedecms_time.sh, which
// also wrote the expected page.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "dede/lazy_php.h"
#include "dede/pages.h"
#include "dede/renderer.h"
#include "dede/site_database.h"
#include "tests/support/mariadb_server.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

const fs::path kData = BRINDLE_BENCH_RENDER_SITE;
constexpr SiteClock kClock{1717243200};

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void render_pages(benchmark::State& state, SiteDatabase& database) {
    auto site = Site::load(database, {"dede_", kClock});
    if (!site) return state.SkipWithError(site.error().describe().c_str());
    PhpOptions options;
    options.now = kClock.now;
    LazyPhp php(*site, options);
    const std::string source = slurp(kData / "home_ten_tags.htm");
    // What DedeCMS wrote for it over the same data: a faster page must still be the same page.
    const std::string expected = slurp(kData / "home_ten_tags.expected.html");
    for (auto _ : state) {
        Renderer renderer(*site, BRINDLE_SAMPLE_TEMPLETS, &php);
        Page page = index_page(*site, 0);
        std::string html = renderer.render_page(source, page, "home_ten_tags.htm");
        if (!renderer.issues().empty()) return state.SkipWithError(renderer.issues()[0].message.c_str());
        if (html != expected) return state.SkipWithError("the page differs from DedeCMS's");
        benchmark::DoNotOptimize(html);
    }
}

// The articles' SQL builds titles with CONCAT, which the site's own connection has and a plain one lacks.
void concat(sqlite3_context* context, int argc, sqlite3_value** argv) {
    std::string out;
    for (int i = 0; i < argc; ++i)
        if (const unsigned char* text = sqlite3_value_text(argv[i])) out += reinterpret_cast<const char*>(text);
    sqlite3_result_text(context, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void BM_HomePageFromSqlite(benchmark::State& state) {
    const fs::path file = fs::temp_directory_path() / ("brindle-bench-site-" + std::to_string(::getpid()) + ".sqlite");
    fs::remove(file);
    sqlite3* writer = nullptr;
    sqlite3_open(file.c_str(), &writer);
    sqlite3_create_function(writer, "concat", -1, SQLITE_UTF8, nullptr, concat, nullptr, nullptr);
    char* error = nullptr;
    for (const fs::path& sql : {fs::path(BRINDLE_SAMPLE_SITE_SQL), kData / "articles_10k.sql"})
        if (sqlite3_exec(writer, slurp(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) break;
    sqlite3_close(writer);
    if (error) {
        state.SkipWithError(error);
        sqlite3_free(error);
    } else if (auto database = open_sqlite_site(file.string(), kClock)) {
        render_pages(state, **database);
    } else {
        state.SkipWithError(database.error().describe().c_str());
    }
    fs::remove(file);
}
BENCHMARK(BM_HomePageFromSqlite)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_HomePageFromMariaDb(benchmark::State& state) {
    auto server = test::MariaDbServer::start();
    if (!server) return state.SkipWithError(server.error().describe().c_str());
    Result<void> loaded = (*server)->execute("CREATE DATABASE dede CHARACTER SET utf8mb4");
    if (loaded) loaded = (*server)->execute_file(BRINDLE_DEDE_FIXTURES "/site_dump.sql", "dede");
    if (loaded) loaded = (*server)->execute(slurp(kData / "articles_10k.sql"), "dede");
    if (!loaded) return state.SkipWithError(loaded.error().describe().c_str());
    auto database = open_mariadb_site((*server)->address("dede"), kClock);
    if (!database) return state.SkipWithError(database.error().describe().c_str());
    render_pages(state, **database);
}
BENCHMARK(BM_HomePageFromMariaDb)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
}  // namespace brindle::dede

BENCHMARK_MAIN();
