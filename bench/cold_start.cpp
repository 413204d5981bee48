// Cold start until the first top-level window is mapped, for build/brindle and for a minimal Qt
// program that maps one empty window, under a private Xvfb; reports both and their ratio.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::string g_display;
pid_t g_xvfb = -1;
std::map<std::string, std::vector<double>> g_seconds;

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extra_env) {
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
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
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

// Seconds from spawning the program until a top-level window of it is mapped; negative on failure.
double time_to_first_map(const std::string& program) {
    Display* display = XOpenDisplay(g_display.c_str());
    if (!display) return -1;
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = spawn({program}, {"DISPLAY=" + g_display});
    double seconds = -1;
    while (pid > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) {
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            break;
        }
    }
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    XCloseDisplay(display);
    return seconds;
}

void BM_ColdStart(benchmark::State& state, std::string program) {
    if (!std::filesystem::exists(program)) {
        state.SkipWithError(("missing " + program).c_str());
        return;
    }
    for (auto _ : state) {
        double seconds = time_to_first_map(program);
        if (seconds < 0) {
            state.SkipWithError("the window was not mapped");
            return;
        }
        state.SetIterationTime(seconds);
        g_seconds[program].push_back(seconds);
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
    const std::string brindle = dir + "/brindle", minimal = dir + "/bench/minimal_qt_window";
    if (!start_xvfb()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    benchmark::RegisterBenchmark("ColdStart/minimal_qt_window", BM_ColdStart, minimal)
        ->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ColdStart/brindle", BM_ColdStart, brindle)
        ->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    kill(g_xvfb, SIGTERM);
    waitpid(g_xvfb, nullptr, 0);

    double base = median(g_seconds[minimal]), ours = median(g_seconds[brindle]);
    if (base > 0 && ours > 0)
        std::printf("cold start median: brindle %.1f ms, minimal Qt window %.1f ms, ratio %.2f (target <= 1.30)\n",
                    ours * 1e3, base * 1e3, ours / base);
    return 0;
}
