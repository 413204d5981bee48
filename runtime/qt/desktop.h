#pragma once
// The desktop services the windows use, behind one interface: the real desktop for the tool, a
// recording one for headless runs (runtime/headless/). Texts are Qt strings (already decoded from the image).
#include <functional>
#include <optional>

#include <QIcon>
#include <QString>

class QMenu;
class QWidget;

namespace brindle::runtime::qt {

// Message box button identifiers, as routines compare them with a message box's answer.
namespace button {
inline constexpr int kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7;
}

inline constexpr const char* kDefaultMessageTitle = "Brindle";

// A tray icon's operation code: 1 for a left click or double click, 3 for a right click.
using TrayHandler = std::function<void(int code)>;

struct TrayIconData {
    QIcon icon;
    int image_count = 0;
    QString tooltip;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // Blocks until answered; returns the button identifier.
    virtual int message_box(const QString& text, int style, const std::optional<QString>& title) = 0;
    virtual void set_clipboard_text(const QString& text) = 0;
    virtual void place_tray_icon(const TrayIconData& icon, TrayHandler on_event) = 0;
    virtual void remove_tray_icon() = 0;
    // True while an icon in the notification area can bring a hidden window back.
    virtual bool has_tray_icon() const = 0;
    virtual void pop_up_menu(QMenu& menu) = 0;
    virtual void open_address(const QString& address) = 0;
    virtual void report_fault(const QString& message) = 0;
    // The window that message boxes sit over while it is shown.
    virtual void set_main_window(QWidget* window) { (void)window; }
    // Told when the notification area goes away after an icon was placed.
    virtual void on_tray_lost(std::function<void()> handler) { (void)handler; }
};

}  // namespace brindle::runtime::qt
