// The kernel library's one export. The launcher calls GetNewSock(1000) and then the start function
// with the program image's address and size; the start function returns when the program has ended:
// 0, or 1 when the image could not run (the launcher then ends with a failure status).
//
// BRINDLE_TRACE is read when the library is loaded (runtime/trace.h); with phases traced, the start-up
// phases from "kernel loaded" to "window shown" are marked on stderr, for bench_cold_start.
#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/kernel_abi.h"
#include "runtime/program_start.h"
#include "runtime/qt/app_font.h"
#include "runtime/qt/qt_platform.h"
#include "runtime/trace.h"

namespace {

namespace trace = brindle::runtime::trace;

// The end of dynamic loading: the kernel's own initialisers run after those of every library it needs.
[[maybe_unused]] const bool loaded = (trace::configure_from_environment(), trace::phase("kernel loaded"), true);

// The widgets are built when the first window is shown; what follows until it is mapped is the server's.
class ShowWatcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->isWidgetType() && static_cast<QWidget*>(object)->isWindow()) {
            trace::phase("window shown");
            qApp->removeEventFilter(this);
        }
        return false;
    }
};

int start(const void* image, size_t image_size) {
    trace::phase("start");
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
        trace::phase("QApplication");
        using brindle::runtime::qt::SingleInstance;
        auto instance = std::make_unique<SingleInstance>(brindle::runtime::qt::instance_socket_path());
        handed_over = instance->claim() == SingleInstance::Start::kHandedOver;
        trace::phase("single instance");
        if (handed_over) return nullptr;
        if (trace::on(trace::kPhases)) app->installEventFilter(new ShowWatcher(app.get()));
        return brindle::runtime::qt::make_qt_platform_ui(opened, std::move(instance));
    };
    auto r =
        brindle::runtime::run_program_image(brindle::ByteView(static_cast<const uint8_t*>(image), image_size), make_ui);
    // The instance already running shows its window instead.
    if (handed_over) return 0;
    if (!r) {
        trace::write("rtcore: " + r.error().describe());
        return 1;
    }
    return 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* GetNewSock(int32_t version) {
    if (version != brindle::abi::kKernelVersion) return nullptr;
    return reinterpret_cast<void*>(&start);
}
