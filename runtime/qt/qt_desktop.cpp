#include "runtime/qt/qt_desktop.h"

#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QUrl>

#include "image/kernel_abi.h"

namespace brindle::runtime::qt {
namespace {

QMessageBox::Icon icon_for_style(int style) {
    switch (style & 0xF0) {
        case abi::style::kError: return QMessageBox::Critical;
        case abi::style::kQuestion: return QMessageBox::Question;
        case abi::style::kWarning: return QMessageBox::Warning;
        case abi::style::kInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// The button set of the style's low four bits, with the identifiers routines compare against.
std::vector<std::pair<QMessageBox::StandardButton, int>> buttons_for_style(int style) {
    using B = QMessageBox;
    switch (style & 0x0F) {
        case 1: return {{B::Ok, button::kOk}, {B::Cancel, button::kCancel}};
        case 2: return {{B::Abort, button::kAbort}, {B::Retry, button::kRetry}, {B::Ignore, button::kIgnore}};
        case 3: return {{B::Yes, button::kYes}, {B::No, button::kNo}, {B::Cancel, button::kCancel}};
        case 4: return {{B::Yes, button::kYes}, {B::No, button::kNo}};
        case 5: return {{B::Retry, button::kRetry}, {B::Cancel, button::kCancel}};
        default: return {{B::Ok, button::kOk}};
    }
}

}  // namespace

QtDesktop::QtDesktop() = default;
QtDesktop::~QtDesktop() = default;

int QtDesktop::message_box(const QString& text, int style, const std::optional<QString>& title) {
    QMessageBox box(icon_for_style(style), title.value_or(QString::fromUtf8(kDefaultMessageTitle)), text);
    auto buttons = buttons_for_style(style);
    QMessageBox::StandardButtons set;
    for (auto [b, id] : buttons) set |= b;
    box.setStandardButtons(set);
    box.setDefaultButton(buttons.front().first);
    auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    for (auto [b, id] : buttons)
        if (b == chosen) return id;
    // Closed without a button: Cancel where there is one, else the first button.
    for (auto [b, id] : buttons)
        if (id == button::kCancel) return id;
    return buttons.front().second;
}

void QtDesktop::set_clipboard_text(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void QtDesktop::place_tray_icon(const TrayIconData& icon, TrayHandler on_event) {
    // Without a notification area the window simply stays as it is; nothing else depends on the icon.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    tray_ = std::make_unique<QSystemTrayIcon>(icon.icon);
    tray_->setToolTip(icon.tooltip);
    QObject::connect(tray_.get(), &QSystemTrayIcon::activated, tray_.get(),
                     [on_event](QSystemTrayIcon::ActivationReason reason) {
                         switch (reason) {
                             case QSystemTrayIcon::Trigger:
                             case QSystemTrayIcon::DoubleClick: on_event(1); break;
                             case QSystemTrayIcon::Context: on_event(3); break;
                             default: break;
                         }
                     });
    tray_->show();
}

void QtDesktop::remove_tray_icon() { tray_.reset(); }

void QtDesktop::pop_up_menu(QMenu& menu) { menu.popup(QCursor::pos()); }

void QtDesktop::open_address(const QString& address) {
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

void QtDesktop::report_fault(const QString& message) {
    QMessageBox::critical(nullptr, QString::fromUtf8(kDefaultMessageTitle), message);
}

}  // namespace brindle::runtime::qt
