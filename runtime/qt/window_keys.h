#pragma once
// The keys a window answers whichever control has the focus: Ctrl+Tab and Ctrl+PgDown turn to the
// tab control's next page, Ctrl+Shift+Tab and Ctrl+PgUp to the one before (both round), and focus
// goes to the page's first control in reading order; Enter presses a focused button, as Space does.
class QTabWidget;
class QWidget;

namespace brindle::runtime::qt {

// Lives as long as the window.
void install_window_keys(QWidget& window, QTabWidget& tabs);

}  // namespace brindle::runtime::qt
