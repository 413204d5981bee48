#include "runtime/qt/qt_platform.h"

#include <QApplication>

#include "runtime/qt/app_font.h"
#include "runtime/qt/qt_desktop.h"
#include "runtime/qt/qt_translations.h"
#include "runtime/qt/qt_ui.h"

namespace brindle::runtime::qt {
namespace {

// Built before the UI that uses them (base classes are built in order).
struct PlatformParts {
    PlatformParts() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "brindle";
            static char* argv[] = {name, nullptr};
            app = std::make_unique<QApplication>(argc, argv);
        }
        // Hiding the window to the tray must not end the program; closing it does, through the kernel.
        QApplication::setQuitOnLastWindowClosed(false);
        apply_application_font();
        load_chinese_qt_texts();
    }
    std::unique_ptr<QApplication> app;
    QtDesktop desktop;
};

class PlatformUi : private PlatformParts, public QtUi {
public:
    PlatformUi(const image::Image& image, std::unique_ptr<SingleInstance> instance)
        : PlatformParts(), QtUi(image.form, desktop), instance_(std::move(instance)) {
        if (instance_) instance_->on_later_start([this] { show_main_window(); });
    }

private:
    std::unique_ptr<SingleInstance> instance_;
};

}  // namespace

std::unique_ptr<Ui> make_qt_platform_ui(const image::Image& image, std::unique_ptr<SingleInstance> instance) {
    return std::make_unique<PlatformUi>(image, std::move(instance));
}

}  // namespace brindle::runtime::qt
