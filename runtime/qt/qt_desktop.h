#pragma once
// The real desktop: message boxes, the system clipboard, the notification area, menus at the
// cursor and the system browser.
#include <memory>

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "runtime/qt/desktop.h"

class QSystemTrayIcon;

namespace brindle::runtime::qt {

class QtDesktop : public Desktop {
public:
    QtDesktop();
    ~QtDesktop() override;

    int message_box(const QString& text, int style, const std::optional<QString>& title) override;
    void set_clipboard_text(const QString& text) override;
    void place_tray_icon(const TrayIconData& icon, TrayHandler on_event) override;
    void remove_tray_icon() override;
    bool has_tray_icon() const override;
    void pop_up_menu(QMenu& menu) override;
    void open_address(const QString& address) override;
    void report_fault(const QString& message) override;
    void set_main_window(QWidget* window) override { main_window_ = window; }
    void on_tray_lost(std::function<void()> handler) override { tray_lost_ = std::move(handler); }

private:
    void watch_tray();

    std::unique_ptr<QSystemTrayIcon> tray_;
    QPointer<QWidget> main_window_;
    std::function<void()> tray_lost_;
    QTimer tray_watch_;
    bool tray_there_ = false;
};

}  // namespace brindle::runtime::qt
