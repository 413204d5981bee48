// The yardstick for cold start: a Qt program that maps one empty window. With BRINDLE_TRACE naming
// phases it marks its phases on stderr as the kernel does ("phase <name> <monotonic ns> <process CPU ns>").
// Built with WITH_TEXT, the window shows one line of Chinese in the application's font: the floor for
// any window that draws text, which must read the font configuration and load a font.
#include <time.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// Read as the kernel reads it (runtime/trace.h), without linking the kernel: the floor stays Qt alone.
bool traces_phases() {
    const char* value = std::getenv("BRINDLE_TRACE");
    for (std::string_view list = value ? value : ""; !list.empty();) {
        const std::string_view name = list.substr(0, list.find(','));
        if (name == "phases" || name == "all") return true;
        list.remove_prefix(std::min(list.size(), name.size() + 1));
    }
    return false;
}

void mark(const char* phase) {
    static const bool on = traces_phases();
    if (!on) return;
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
#ifdef WITH_TEXT
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), font.family()});
    font.setPointSize(9);
    QApplication::setFont(font);
    QLabel label(QStringLiteral("首页标签"), &window);
    label.move(10, 10);
#endif
    mark("window shown");  // as the kernel marks it: when the show begins (the map may go out within it)
    window.show();
    return app.exec();
}
