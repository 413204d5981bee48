#pragma once
// The real desktop: message boxes, the system clipboard, the notification area, menus at the
// cursor and the system browser.
#include <memory>

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
    bool has_tray_icon() const override { return tray_ != nullptr; }
    void pop_up_menu(QMenu& menu) override;
    void open_address(const QString& address) override;
    void report_fault(const QString& message) override;

private:
    std::unique_ptr<QSystemTrayIcon> tray_;
};

}  // namespace brindle::runtime::qt
