#pragma once
// A desktop for headless runs: message boxes are recorded and answered with their first button at
// once, the tray icon and opened addresses are recorded and nothing is launched. The clipboard is
// the process's own.
#include <vector>

#include "runtime/qt/desktop.h"

namespace brindle::headless {

class RecordingDesktop : public runtime::qt::Desktop {
public:
    struct MessageBox {
        QString text;
        int style = 0;
        std::optional<QString> title;
    };

    int message_box(const QString& text, int style, const std::optional<QString>& title) override;
    void set_clipboard_text(const QString& text) override;
    void place_tray_icon(const runtime::qt::TrayIconData& icon, runtime::qt::TrayHandler on_event) override;
    void remove_tray_icon() override;
    bool has_tray_icon() const override { return tray_icon.has_value(); }
    void pop_up_menu(QMenu& menu) override;
    void open_address(const QString& address) override;
    void report_fault(const QString& message) override;

    QString clipboard_text() const;
    // Plays the user on the tray icon; false when no icon is placed.
    bool tray_event(int code);

    std::vector<MessageBox> messages;
    std::vector<QString> opened;
    std::vector<QString> faults;
    std::optional<runtime::qt::TrayIconData> tray_icon;
    std::vector<QString> popped_menus;  // menu titles, in order

private:
    runtime::qt::TrayHandler tray_handler_;
};

}  // namespace brindle::headless
