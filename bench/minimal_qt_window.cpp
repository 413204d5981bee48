// The yardstick for cold start: a Qt program that maps one empty window. With BRINDLE_PHASES set it
// marks its phases on stderr as the kernel does ("phase <name> <monotonic ns> <process CPU ns>").
#include <time.h>

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

void mark(const char* phase) {
    if (!std::getenv("BRINDLE_PHASES")) return;
    timespec wall, cpu;
    clock_gettime(CLOCK_MONOTONIC, &wall);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::fprintf(stderr, "phase %s %lld %lld\n", phase, wall.tv_sec * 1000000000LL + wall.tv_nsec,
                 cpu.tv_sec * 1000000000LL + cpu.tv_nsec);
}

}  // namespace

int main(int argc, char** argv) {
    mark("main");
    QApplication app(argc, argv);
    mark("QApplication");
    QWidget window;
    window.resize(627, 571);
    mark("window shown");  // as the kernel marks it: when the show begins (the map may go out within it)
    window.show();
    return app.exec();
}
