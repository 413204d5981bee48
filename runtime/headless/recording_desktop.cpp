#include "runtime/headless/recording_desktop.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

namespace brindle::headless {

namespace button = runtime::qt::button;

int RecordingDesktop::message_box(const QString& text, int style, const std::optional<QString>& title) {
    messages.push_back({text, style, title});
    // As if the first button (OK, Abort, Yes or Retry) were pressed.
    switch (style & 0x0F) {
        case 2: return button::kAbort;
        case 3:
        case 4: return button::kYes;
        case 5: return button::kRetry;
        default: return button::kOk;
    }
}

void RecordingDesktop::set_clipboard_text(const QString& text) { QGuiApplication::clipboard()->setText(text); }

QString RecordingDesktop::clipboard_text() const { return QGuiApplication::clipboard()->text(); }

void RecordingDesktop::place_tray_icon(const runtime::qt::TrayIconData& icon, runtime::qt::TrayHandler on_event) {
    tray_icon = icon;
    tray_handler_ = std::move(on_event);
}

void RecordingDesktop::remove_tray_icon() {
    tray_icon.reset();
    tray_handler_ = nullptr;
}

bool RecordingDesktop::tray_event(int code) {
    if (!tray_handler_) return false;
    auto handler = tray_handler_;  // the routine may remove the icon while it runs
    handler(code);
    return true;
}

void RecordingDesktop::pop_up_menu(QMenu& menu) { popped_menus.push_back(menu.title()); }

void RecordingDesktop::open_address(const QString& address) { opened.push_back(address); }

void RecordingDesktop::report_fault(const QString& message) { faults.push_back(message); }

}  // namespace brindle::headless
