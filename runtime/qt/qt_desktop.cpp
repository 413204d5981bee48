#include "runtime/qt/qt_desktop.h"

#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QSystemTrayIcon>
#include <QUrl>

#include "image/kernel_abi.h"
#include "runtime/qt/text_codec.h"

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

// The interface is Chinese; Qt's untranslated "OK" would be the one English word in it.
QString caption_of(QMessageBox::StandardButton b) {
    switch (b) {
        case QMessageBox::Ok: return QStringLiteral("确定");
        case QMessageBox::Cancel: return QStringLiteral("取消");
        case QMessageBox::Abort: return QStringLiteral("中止");
        case QMessageBox::Retry: return QStringLiteral("重试");
        case QMessageBox::Ignore: return QStringLiteral("忽略");
        case QMessageBox::Yes: return QStringLiteral("是");
        case QMessageBox::No: return QStringLiteral("否");
        default: return {};
    }
}

// QMessageBox sizes itself to its text alone, and the window manager then cuts a longer title; a
// spacer row keeps the box wide enough for the title and the frame's buttons.
void make_room_for_title(QMessageBox& box) {
    QFont bold = box.font();
    bold.setBold(true);
    constexpr int kFrameButtonsAndIcon = 110;
    int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) * 5 / 4 + kFrameButtonsAndIcon;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

// Some window managers (openbox) offer to minimise any dialog whatever it asks for; a minimised modal box
// leaves the blocked window with nothing on screen to answer, so the box comes straight back.
class KeepShown : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowStateChange && box->isMinimized())
            QTimer::singleShot(0, box, [box] {
                box->showNormal();
                box->activateWindow();
            });
        return false;
    }
};

}  // namespace

QtDesktop::QtDesktop() {
    tray_watch_.setInterval(1000);
    QObject::connect(&tray_watch_, &QTimer::timeout, &tray_watch_, [this] { watch_tray(); });
}
QtDesktop::~QtDesktop() = default;

int QtDesktop::message_box(const QString& text, int style, const std::optional<QString>& title) {
    // Over the main window while it is shown (centred there, blocking it), else on its own.
    QWidget* parent = main_window_ && main_window_->isVisible() && !main_window_->isMinimized() ? main_window_.data() : nullptr;
    QMessageBox box(icon_for_style(style), title.value_or(QString::fromUtf8(kDefaultMessageTitle)), text,
                    QMessageBox::NoButton, parent);
    // Minimising a modal box would leave the blocked window with nothing on screen to answer: no
    // minimise button, and brought back where the window manager minimises it all the same.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    box.installEventFilter(new KeepShown(&box));
    auto buttons = buttons_for_style(style);
    QMessageBox::StandardButtons set;
    for (auto [b, id] : buttons) set |= b;
    box.setStandardButtons(set);
    for (auto [b, id] : buttons) box.button(b)->setText(caption_of(b));
    box.setDefaultButton(buttons.front().first);
    make_room_for_title(box);
    auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    for (auto [b, id] : buttons)
        if (b == chosen) return id;
    // Closed without a button: Cancel where there is one, else the first button.
    for (auto [b, id] : buttons)
        if (id == button::kCancel) return id;
    return buttons.front().second;
}

void QtDesktop::set_clipboard_text(const QString& text) {
    // Routines hand over CR LF; pasted into a Linux editor that shows as ^M, so the desktop gets LF.
    // The middle button pastes the same text.
    QString platform_text = crlf_to_lf(text);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(platform_text, QClipboard::Clipboard);
    if (clipboard->supportsSelection()) clipboard->setText(platform_text, QClipboard::Selection);
}

void QtDesktop::place_tray_icon(const TrayIconData& icon, TrayHandler on_event) {
    // Placed even without a notification area: it docks once one starts. Until then hiding minimises.
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
    tray_there_ = QSystemTrayIcon::isSystemTrayAvailable();
    tray_watch_.start();
}

bool QtDesktop::has_tray_icon() const { return tray_ && QSystemTrayIcon::isSystemTrayAvailable(); }

// Qt reports no change of the notification area, so it is looked at now and then.
void QtDesktop::watch_tray() {
    if (!tray_) return;
    bool there = QSystemTrayIcon::isSystemTrayAvailable();
    // A new notification area: dock the icon there.
    if (there && !tray_there_) {
        tray_->hide();
        tray_->show();
    }
    tray_there_ = there;
    // Told at every look, not once: a tray that came and went between two looks strands a window too.
    if (!there && tray_lost_) tray_lost_();
}

void QtDesktop::remove_tray_icon() {
    tray_watch_.stop();
    tray_.reset();
}

void QtDesktop::pop_up_menu(QMenu& menu) { menu.popup(QCursor::pos()); }

void QtDesktop::open_address(const QString& address) {
    if (QDesktopServices::openUrl(QUrl::fromUserInput(address))) return;
    message_box(QStringLiteral("无法打开网址：\n") + address, abi::style::kWarning, std::nullopt);
}

void QtDesktop::report_fault(const QString& message) {
    message_box(message, abi::style::kError, std::nullopt);
}

}  // namespace brindle::runtime::qt
