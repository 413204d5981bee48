// brindle-drive [IMAGE]: runs a program image (by default the brindle.img beside it, or the installed one)
// on Qt's offscreen platform through the kernel and the same windows the tool shows, then plays the user
// from commands on stdin (see tools/drive/driver.h). BRINDLE_TRACE traces its service calls and events.
// Exit status: 0, or 2 after any command error or when the image's path cannot be read, or 1 when the
// image cannot run or the program faults.
#include <QApplication>
#include <QFile>

#include <iostream>

#include "common/data_files.h"
#include "common/exit_status.h"
#include "common/input_file.h"
#include "runtime/headless/recording_desktop.h"
#include "runtime/kernel.h"
#include "runtime/loader.h"
#include "runtime/qt/app_font.h"
#include "runtime/qt/qt_translations.h"
#include "runtime/qt/qt_ui.h"
#include "runtime/trace.h"
#include "tools/drive/driver.h"

using namespace brindle;

namespace {

// Qt's own chatter (missing runtime directories, unsupported platform calls) is not the driver's answer.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "qt: " << message.toStdString() << std::endl;
}

int refuse(const std::string& message) {
    std::cerr << "error: " << message << std::endl;
    return kExitFailed;
}

void read_rest(std::istream& in) {
    std::string line;
    while (std::getline(in, line)) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    runtime::trace::configure_from_environment();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet_qt_messages);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    runtime::qt::apply_application_font();
    runtime::qt::load_chinese_qt_texts();

    QString path = argc > 1 ? QString::fromLocal8Bit(argv[1])
                            : QFile::decodeName(data_file_path(QFile::encodeName(QCoreApplication::applicationDirPath())
                                                                   .toStdString(), "brindle.img").c_str());
    auto read = read_input_file(path.toLocal8Bit().toStdString());
    if (!read) {
        std::cerr << "error: cannot read the image " << read.error().describe() << std::endl;
        return kExitBadPath;  // a missing file, a directory or an unreadable one, as for every tool
    }
    Bytes bytes = std::move(*read);

    auto image = image::open_image(bytes);
    if (!image) return refuse("the image " + path.toStdString() + " is malformed: " + image.error().describe());
    auto parts = runtime::program_parts(*image);
    if (!parts) return refuse("the image " + path.toStdString() + " is malformed: " + parts.error().describe());

    headless::RecordingDesktop desktop;
    runtime::qt::QtUi ui(image->form, desktop);
    auto kernel = runtime::Kernel::create(ui);
    if (!kernel) return refuse("the kernel cannot start: " + kernel.error().describe());
    if (auto r = (*kernel)->load(*parts); !r) return refuse("the image cannot be loaded: " + r.error().describe());

    drive::Driver driver(ui, desktop, **kernel, std::cout, std::cerr);
    bool input_ended = false;
    ui.set_loop_runner([&] {
        driver.flush_faults();
        std::string line;
        while (!ui.quit_requested()) {
            if (!std::getline(std::cin, line)) {
                input_ended = true;
                return;
            }
            driver.handle(line);
            QCoreApplication::processEvents();
            driver.flush_faults();
        }
    });
    auto run = (*kernel)->run();
    driver.flush_faults();
    if (!run) {
        std::cerr << "error: the program faulted: " << run.error().describe() << std::endl;
        read_rest(std::cin);
        return kExitFailed;
    }
    if (!input_ended) {
        std::cout << "ended" << std::endl;
        read_rest(std::cin);
    }
    return driver.had_error() ? kExitUsage : kExitOk;
}
