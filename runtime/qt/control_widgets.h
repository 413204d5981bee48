#pragma once
// The widget for each kind of control, made from its form element and not yet placed.
#include <functional>
#include <vector>

#include <QString>
#include <QTabWidget>

#include "image/form_model.h"

class QMenu;
class QPlainTextEdit;
class QPoint;

namespace brindle::runtime::qt {

// What the widgets report back: a user's click (or a combo box choice), a menu choice, a link.
struct BuilderCallbacks {
    std::function<void(uint32_t element_id)> clicked;
    std::function<void(uint32_t item_id)> menu_chosen;
    std::function<void(const QString& address)> open_address;
    // Text for the desktop's clipboard, CR LF between lines, as a copy routine hands it over.
    std::function<void(const QString& text)> copy_text;
};

// The form measures page controls from the tab control's own top-left corner, strip included, so each
// page's controls sit on a layer that covers the whole control; the strip stays above the layers.
class TabControl : public QTabWidget {
public:
    TabControl();
    QWidget* layer(int index);
    // Runs before a page is shown, so that a page can be built when it is first needed.
    void set_page_opening(std::function<void(int index)> opening) { opening_ = std::move(opening); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<QWidget*> layers_;
    std::function<void(int)> opening_;
};

QWidget* make_control(const image::Element& e, const BuilderCallbacks& callbacks);

// A multi-line box's context menu at `at`: Qt's own, with 全部复制 after Copy, which copies the whole
// text as the copy buttons do. The caller owns it.
QMenu* multiline_box_menu(QPlainTextEdit& edit, const QPoint& at, const BuilderCallbacks& callbacks);

}  // namespace brindle::runtime::qt
