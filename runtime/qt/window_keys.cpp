#include "runtime/qt/window_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "runtime/qt/window_builder.h"

namespace brindle::runtime::qt {
namespace {

// +1 for the next page, -1 for the one before, 0 for any other key.
int page_step(const QKeyEvent& key) {
    const Qt::KeyboardModifiers held =
        key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::ControlModifier) {
        if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_PageDown) return 1;
        if (key.key() == Qt::Key_PageUp) return -1;
    }
    // Shift+Tab arrives as Backtab.
    if (held == (Qt::ControlModifier | Qt::ShiftModifier) && (key.key() == Qt::Key_Backtab || key.key() == Qt::Key_Tab))
        return -1;
    return 0;
}

bool is_enter(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// The first control of the current page that Tab reaches gets the focus, as Tab gives it.
void focus_first_control(QTabWidget& tabs) {
    QTabBar* bar = tabs.tabBar();
    if (tabs.currentIndex() < 0) return;
    QWidget* page = page_widget(tabs, tabs.currentIndex());
    for (QWidget* at = bar->nextInFocusChain(); at && at != bar; at = at->nextInFocusChain()) {
        if (!(at->focusPolicy() & Qt::TabFocus) || at->focusProxy() || !at->isVisible() || !at->isEnabled() ||
            !page->isAncestorOf(at))
            continue;
        // A link then shows which link Enter opens.
        at->setFocus(Qt::TabFocusReason);
        return;
    }
    bar->setFocus(Qt::TabFocusReason);
}

// Looks at every key pressed in the application before the control with the focus does: a control
// inside the tab control would otherwise take Ctrl+Tab for itself or let it fall to the tab control
// only, and a control outside it would never pass it on.
class WindowKeys : public QObject {
public:
    WindowKeys(QWidget& window, QTabWidget& tabs) : QObject(&window), window_(window), tabs_(tabs) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        auto* target = static_cast<QWidget*>(watched);
        if (target->window() != &window_) return false;
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (int step = page_step(key)) {
            turn(step);
            return true;
        }
        if (is_enter(key) && (qobject_cast<QPushButton*>(target) || qobject_cast<QToolButton*>(target))) {
            if (!key.isAutoRepeat()) static_cast<QAbstractButton*>(target)->click();
            return true;
        }
        return false;
    }

private:
    void turn(int step) {
        const int count = tabs_.count();
        if (count == 0) return;
        tabs_.setCurrentIndex(((tabs_.currentIndex() + step) % count + count) % count);
        focus_first_control(tabs_);
    }

    QWidget& window_;
    QTabWidget& tabs_;
};

}  // namespace

void install_window_keys(QWidget& window, QTabWidget& tabs) { qApp->installEventFilter(new WindowKeys(window, tabs)); }

}  // namespace brindle::runtime::qt
