// Cold start until the first top-level window is mapped, for build/brindle and for a minimal Qt
// program that maps one empty window, under a private Xvfb, the two interleaved run by run. Reports
// wall time and the child's CPU time (its process clock read when the map arrives) and their ratios,
// and the phase table: both programs, run with BRINDLE_TRACE=phases, mark their phase boundaries on
// stderr (BRINDLE_BENCH_OTHER names a second build to run in the same rounds); the launcher's own
// phases (payload read, descramble, inflate, write, loading the kernel) are timed in a forked child
// that runs the launch sequence on build/brindle up to the kernel's entry.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/launch.h"
#include "launcher/posix_platform.h"

extern char** environ;

namespace {

using namespace brindle::launcher;

std::string g_display;
pid_t g_xvfb = -1;

double now_ms(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// One phase boundary: wall ms since the program was spawned, CPU ms of the program so far.
struct Mark {
    double wall = 0, cpu = 0;
};
using Marks = std::map<std::string, Mark>;
// Per program, one map of marks per run; "mapped" is the bench's own.
std::map<std::string, std::vector<Marks>> g_runs;

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extra_env, int stderr_fd) {
    std::vector<std::string> env_strings(extra_env);
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).substr(0, 8) != "DISPLAY=") env_strings.emplace_back(*e);
    std::vector<char*> args, env;
    for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    for (auto& e : env_strings) env.push_back(const_cast<char*>(e.c_str()));
    args.push_back(nullptr);
    env.push_back(nullptr);
    pid_t pid = -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, stderr_fd, 2);
    if (int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data()); rc != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", args[0], std::strerror(rc));
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Xvfb picks a free display itself and writes its number to the pipe.
bool start_xvfb() {
    int fds[2];
    if (pipe(fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"/usr/bin/Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset", nullptr};
    bool started = posix_spawn(&g_xvfb, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    // Read up to the newline: closing the pipe early would kill Xvfb with SIGPIPE on its next write.
    std::string number;
    char c;
    while (started && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return false;
    g_display = ":" + number;
    for (int i = 0; i < 100; ++i, usleep(50000))
        if (Display* d = XOpenDisplay(g_display.c_str())) {
            XCloseDisplay(d);
            return true;
        }
    return false;
}

// Runs the program until a top-level window of it is mapped; its marks, "mapped" included. Empty on failure.
Marks run_to_first_map(const std::string& program) {
    Display* display = XOpenDisplay(g_display.c_str());
    if (!display) return {};
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);
    int err[2];
    if (pipe(err) != 0) return {};
    const double start = now_ms(CLOCK_MONOTONIC);
    pid_t pid = spawn({program}, {"DISPLAY=" + g_display, "BRINDLE_TRACE=phases"}, err[1]);
    close(err[1]);
    clockid_t child_cpu;
    Marks marks;
    if (pid > 0 && clock_getcpuclockid(pid, &child_cpu) == 0) {
        for (;;) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                marks["mapped"] = {now_ms(CLOCK_MONOTONIC) - start, now_ms(child_cpu)};
                break;
            }
        }
    }
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    XCloseDisplay(display);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    close(err[0]);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string word, name;
        long long wall_ns, cpu_ns;
        if (!(words >> word) || word != "phase") continue;
        std::vector<std::string> rest;
        while (words >> word) rest.push_back(word);
        if (rest.size() < 3) continue;
        for (size_t i = 0; i + 2 < rest.size(); ++i) name += (i ? " " : "") + rest[i];
        wall_ns = std::atoll(rest[rest.size() - 2].c_str());
        cpu_ns = std::atoll(rest.back().c_str());
        marks[name] = {wall_ns / 1e6 - start, cpu_ns / 1e6};
    }
    return marks.count("mapped") ? marks : Marks{};
}

// The launcher's platform, timing the calls that bound its phases.
class TimingPlatform : public PosixPlatform {
public:
    TimingPlatform(std::string executable, Marks& marks) : executable_(std::move(executable)), marks_(marks) {}
    std::string executable_path() override { return executable_; }
    std::optional<std::string> temp_directory() override {
        mark("payload read");
        return PosixPlatform::temp_directory();
    }
    SystemResult<std::unique_ptr<ExtractionDirectory>> open_extraction_directory(const std::string& path) override {
        mark("descrambled");
        auto dir = PosixPlatform::open_extraction_directory(path);
        if (!dir) return dir;
        return std::make_unique<Directory>(std::move(*dir), *this);
    }
    void* find_symbol(void* library, const char* name) override { return PosixPlatform::find_symbol(library, name); }
    void mark(const char* name) {
        if (!marks_.count(name)) marks_[name] = {now_ms(CLOCK_MONOTONIC), now_ms(CLOCK_PROCESS_CPUTIME_ID)};
    }

private:
    struct File : WrittenFile {
        File(std::unique_ptr<WrittenFile> f, TimingPlatform& p) : file(std::move(f)), platform(p) {}
        std::expected<void*, std::string> load_library() override {
            platform.mark("written");
            auto library = file->load_library();
            platform.mark("kernel loaded");
            return library;
        }
        std::unique_ptr<WrittenFile> file;
        TimingPlatform& platform;
    };
    struct Directory : ExtractionDirectory {
        Directory(std::unique_ptr<ExtractionDirectory> d, TimingPlatform& p) : dir(std::move(d)), platform(p) {}
        SystemResult<std::unique_ptr<WrittenFile>> write_file(std::string_view name, brindle::ByteView content) override {
            platform.mark("inflated");
            auto written = dir->write_file(name, content);
            if (!written) return written;
            return std::make_unique<File>(std::move(*written), platform);
        }
        std::unique_ptr<ExtractionDirectory> dir;
        TimingPlatform& platform;
    };
    std::string executable_;
    Marks& marks_;
};

// The launch sequence on build/brindle in a fresh child, up to the kernel's entry; wall and CPU ms
// from the child's start.
Marks launcher_phases(const std::string& brindle) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Marks marks;
        const double wall0 = now_ms(CLOCK_MONOTONIC), cpu0 = now_ms(CLOCK_PROCESS_CPUTIME_ID);
        TimingPlatform platform(brindle, marks);
        bool ok = prepare_kernel(platform).has_value();
        std::string out;
        for (auto& [name, m] : marks) out += name + "\t" + std::to_string(m.wall - wall0) + "\t" + std::to_string(m.cpu - cpu0) + "\n";
        if (ok && write(fds[1], out.data(), out.size()) < 0) _exit(1);
        _exit(ok ? 0 : 1);
    }
    close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    Marks marks;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        auto tab1 = line.find('\t'), tab2 = line.rfind('\t');
        if (tab1 == std::string::npos || tab1 == tab2) continue;
        marks[line.substr(0, tab1)] = {std::atof(line.substr(tab1 + 1, tab2 - tab1 - 1).c_str()),
                                       std::atof(line.substr(tab2 + 1).c_str())};
    }
    return marks;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Median over runs of (mark `to` minus mark `from`), wall or CPU; -1 when a run lacks either.
double phase(const std::vector<Marks>& runs, const std::string& from, const std::string& to, bool cpu) {
    std::vector<double> v;
    for (const Marks& m : runs) {
        auto a = m.find(from), b = m.find(to);
        double start = from.empty() ? 0 : (a == m.end() ? -1e9 : (cpu ? a->second.cpu : a->second.wall));
        if (b == m.end() || start < -1e8) continue;
        v.push_back((cpu ? b->second.cpu : b->second.wall) - start);
    }
    return v.empty() ? -1 : median(v);
}

std::string g_brindle, g_minimal, g_text, g_other;

// One iteration: the minimal window, then brindle, the window with text, then the launcher's phases alone.
void BM_ColdStart(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& program : {g_minimal, g_brindle, g_text, g_other}) {
            if (program.empty()) continue;
            Marks marks = run_to_first_map(program);
            if (marks.empty()) return state.SkipWithError(("no window mapped: " + program).c_str());
            g_runs[program].push_back(marks);
        }
        g_runs["launcher"].push_back(launcher_phases(g_brindle));
    }
    state.counters["brindle_cpu_ms"] = phase(g_runs[g_brindle], "", "mapped", true);
    state.counters["minimal_cpu_ms"] = phase(g_runs[g_minimal], "", "mapped", true);
    state.counters["brindle_wall_ms"] = phase(g_runs[g_brindle], "", "mapped", false);
    state.counters["minimal_wall_ms"] = phase(g_runs[g_minimal], "", "mapped", false);
}

void print_row(const char* name, double cpu, double wall, double base_cpu, double base_wall) {
    auto cell = [](double v) { return v < 0 ? std::string("      -") : (std::ostringstream() << std::fixed << std::setprecision(1) << std::setw(7) << v).str(); };
    std::printf("%-44s %s %s   %s %s\n", name, cell(cpu).c_str(), cell(wall).c_str(), cell(base_cpu).c_str(), cell(base_wall).c_str());
}

void print_table(const std::string& program) {
    const auto& b = g_runs[program];
    const auto& m = g_runs[g_minimal];
    const auto& l = g_runs["launcher"];
    std::printf("\n%s\nphase (medians, ms)                          brindle CPU   wall   minimal CPU   wall\n", program.c_str());
    print_row("exec until main / the kernel's initialisers", phase(b, "", "kernel loaded", true),
              phase(b, "", "kernel loaded", false), phase(m, "", "main", true), phase(m, "", "main", false));
    print_row("  launcher: payload read (forked)", phase(l, "", "payload read", true), phase(l, "", "payload read", false), -1, -1);
    print_row("  launcher: descramble", phase(l, "payload read", "descrambled", true),
              phase(l, "payload read", "descrambled", false), -1, -1);
    print_row("  launcher: inflate", phase(l, "descrambled", "inflated", true), phase(l, "descrambled", "inflated", false), -1, -1);
    print_row("  launcher: write", phase(l, "inflated", "written", true), phase(l, "inflated", "written", false), -1, -1);
    print_row("  launcher: load the kernel (dynamic loading)", phase(l, "written", "kernel loaded", true),
              phase(l, "written", "kernel loaded", false), -1, -1);
    print_row("image open and check", phase(b, "kernel loaded", "image opened", true),
              phase(b, "kernel loaded", "image opened", false), -1, -1);
    print_row("QApplication", phase(b, "image opened", "QApplication", true), phase(b, "image opened", "QApplication", false),
              phase(m, "main", "QApplication", true), phase(m, "main", "QApplication", false));
    print_row("single-instance check", phase(b, "QApplication", "single instance", true),
              phase(b, "QApplication", "single instance", false), -1, -1);
    print_row("font and desktop set-up", phase(b, "single instance", "ui made", true),
              phase(b, "single instance", "ui made", false), -1, -1);
    print_row("emulator create and load", phase(b, "ui made", "emulator loaded", true),
              phase(b, "ui made", "emulator loaded", false), -1, -1);
    print_row("widget creation (until the window is shown)", phase(b, "emulator loaded", "window shown", true),
              phase(b, "emulator loaded", "window shown", false), phase(m, "QApplication", "window shown", true),
              phase(m, "QApplication", "window shown", false));
    print_row("show until mapped", phase(b, "window shown", "mapped", true), phase(b, "window shown", "mapped", false),
              phase(m, "window shown", "mapped", true), phase(m, "window shown", "mapped", false));
    const double bc = phase(b, "", "mapped", true), bw = phase(b, "", "mapped", false);
    const double mc = phase(m, "", "mapped", true), mw = phase(m, "", "mapped", false);
    print_row("total until mapped", bc, bw, mc, mw);
    if (mc > 0 && mw > 0)
        std::printf("cold start median over %zu interleaved runs: brindle CPU %.1f ms, wall %.1f ms; minimal Qt window "
                    "CPU %.1f ms, wall %.1f ms; ratio CPU %.2f, wall %.2f (target <= 1.30)\n",
                    b.size(), bc, bw, mc, mw, bc / mc, bw / mw);
    if (const auto& t = g_runs[g_text]; !t.empty()) {
        const double tc = phase(t, "", "mapped", true), tw = phase(t, "", "mapped", false);
        std::printf("a minimal Qt window with one line of Chinese text: CPU %.1f ms, wall %.1f ms; brindle's ratio to "
                    "it: CPU %.2f, wall %.2f\n", tc, tw, bc / tc, bw / tw);
    }
    if (!g_other.empty() && program == g_brindle) {
        const auto& o = g_runs[g_other];
        const double oc = phase(o, "", "mapped", true), ow = phase(o, "", "mapped", false);
        std::printf("%s (BRINDLE_BENCH_OTHER) in the same runs: CPU %.1f ms, wall %.1f ms; ratio CPU %.2f, wall %.2f; "
                    "until its window is shown: CPU %.1f ms, wall %.1f ms (brindle: %.1f, %.1f)\n",
                    g_other.c_str(), oc, ow, oc / mc, ow / mw, phase(o, "", "window shown", true),
                    phase(o, "", "window shown", false), phase(b, "", "window shown", true), phase(b, "", "window shown", false));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
    g_brindle = dir + "/brindle";
    g_minimal = dir + "/bench/minimal_qt_window";
    g_text = dir + "/bench/minimal_qt_text_window";
    for (const std::string& p : {g_brindle, g_minimal, g_text})
        if (!std::filesystem::exists(p)) {
            std::fprintf(stderr, "missing %s\n", p.c_str());
            return 1;
        }
    // Another build of the tool (e.g. the one before a change) runs in the same rounds when named.
    if (const char* other = std::getenv("BRINDLE_BENCH_OTHER")) g_other = other;
    if (!start_xvfb()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    const char* rounds = std::getenv("COLD_START_RUNS");
    benchmark::RegisterBenchmark("ColdStart/interleaved", BM_ColdStart)
        ->Iterations(rounds ? std::max(1, std::atoi(rounds)) : 15)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    kill(g_xvfb, SIGTERM);
    waitpid(g_xvfb, nullptr, 0);
    print_table(g_brindle);
    if (!g_other.empty()) print_table(g_other);
    return 0;
}
