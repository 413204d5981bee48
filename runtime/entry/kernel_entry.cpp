// The kernel library's one export. The launcher calls GetNewSock(1000) and then the start function
// with the program image's address and size; the start function returns when the program has ended:
// 0, or 1 when the image could not run (the launcher then ends with a failure status).
//
// With BRINDLE_PHASES set, the kernel writes "phase <name> <monotonic ns> <process CPU ns>" to stderr
// at each start-up phase boundary, for bench_cold_start; unset, that costs one getenv.
#include <time.h>

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "image/kernel_abi.h"
#include "runtime/program_start.h"
#include "runtime/qt/app_font.h"
#include "runtime/qt/qt_platform.h"

namespace {

bool tracing() {
    static const bool on = std::getenv("BRINDLE_PHASES") != nullptr;
    return on;
}

int64_t ns(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void mark(const char* phase) {
    if (tracing())
        std::fprintf(stderr, "phase %s %lld %lld\n", phase, static_cast<long long>(ns(CLOCK_MONOTONIC)),
                     static_cast<long long>(ns(CLOCK_PROCESS_CPUTIME_ID)));
}

// The end of dynamic loading: the kernel's own initialisers run after those of every library it needs.
[[maybe_unused]] const bool loaded = (mark("kernel loaded"), true);

// The widgets are built when the first window is shown; what follows until it is mapped is the server's.
class ShowWatcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->isWidgetType() && static_cast<QWidget*>(object)->isWindow()) {
            mark("window shown");
            qApp->removeEventFilter(this);
        }
        return false;
    }
};

int start(const void* image, size_t image_size) {
    mark("start");
    auto font_configuration = brindle::runtime::qt::read_font_configuration_meanwhile();
    // Made here, once the image is known to be good, so that its cost shows apart from the font's and
    // the desktop's; it outlives the UI.
    std::unique_ptr<QApplication> app;
    bool handed_over = false;
    auto make_ui = [&app, &handed_over](const brindle::image::Image& opened) -> std::unique_ptr<brindle::runtime::Ui> {
        static int argc = 1;
        static char name[] = "brindle";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        mark("QApplication");
        using brindle::runtime::qt::SingleInstance;
        auto instance = std::make_unique<SingleInstance>(brindle::runtime::qt::instance_socket_path());
        handed_over = instance->claim() == SingleInstance::Start::kHandedOver;
        mark("single instance");
        if (handed_over) return nullptr;
        if (tracing()) app->installEventFilter(new ShowWatcher(app.get()));
        return brindle::runtime::qt::make_qt_platform_ui(opened, std::move(instance));
    };
    auto r = brindle::runtime::run_program_image(brindle::ByteView(static_cast<const uint8_t*>(image), image_size),
                                                 make_ui, mark);
    // The instance already running shows its window instead.
    if (handed_over) return 0;
    if (!r) {
        std::fprintf(stderr, "rtcore: %s\n", r.error().describe().c_str());
        return 1;
    }
    return 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* GetNewSock(int32_t version) {
    if (version != brindle::abi::kKernelVersion) return nullptr;
    return reinterpret_cast<void*>(&start);
}
