#include "bench/click_kernel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>

#include <cstdio>

#include "app/catalogue.h"
#include "image/image_reader.h"
#include "runtime/headless/recording_desktop.h"
#include "runtime/kernel.h"
#include "runtime/loader.h"
#include "runtime/qt/app_font.h"
#include "runtime/qt/qt_ui.h"

using namespace brindle;

extern "C" __attribute__((visibility("default"))) int brindle_click_kernel(const uint8_t* image_bytes,
                                                                           size_t image_size, ClickBody body,
                                                                           void* context) {
    runtime::qt::apply_application_font();
    auto image = image::open_image(ByteView(image_bytes, image_size));
    if (!image) {
        std::fprintf(stderr, "no program image: %s\n", image.error().describe().c_str());
        return 1;
    }
    auto parts = runtime::program_parts(*image);
    headless::RecordingDesktop desktop;
    runtime::qt::QtUi ui(image->form, desktop);
    auto kernel = runtime::Kernel::create(ui);
    if (!parts || !kernel || !(*kernel)->load(*parts)) {
        std::fprintf(stderr, "the image cannot be loaded\n");
        return 1;
    }

    int status = 0;
    ui.set_loop_runner([&] {
        runtime::qt::BuiltWindow* built = ui.window(app::main_window().id);
        const app::Control* button = app::find_control("生成_标签");
        const app::Control* output = app::find_control("编辑框_标签输出1");
        const runtime::qt::BuiltControl* b = built && button ? built->find(button->id) : nullptr;
        const runtime::qt::BuiltControl* o = built && output ? built->find(output->id) : nullptr;
        auto* clicked = b ? qobject_cast<QAbstractButton*>(b->widget) : nullptr;
        auto* written = o ? qobject_cast<QPlainTextEdit*>(o->widget) : nullptr;
        if (!clicked || !written) {
            std::fprintf(stderr, "the window has no 生成_标签 button or no multi-line output box\n");
            status = 1;
            return;
        }
        QCoreApplication::processEvents();
        clicked->click();
        QCoreApplication::processEvents();
        if (written->toPlainText().isEmpty() || !desktop.messages.empty()) {
            std::fprintf(stderr, "the click wrote nothing or complained\n");
            status = 1;
            return;
        }
        body(context, clicked, written);
    });
    if (auto run = (*kernel)->run(); !run) {
        std::fprintf(stderr, "the program faulted: %s\n", run.error().describe().c_str());
        return 1;
    }
    return status;
}
