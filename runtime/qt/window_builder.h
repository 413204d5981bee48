#pragma once
// Builds a window's widget tree from its form description: the window, the tab control and its
// pages, group boxes as parents, every control at its pixel geometry, and the pop-up menus.
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QSize>
#include <QString>

#include "common/result.h"
#include "image/form_model.h"

class QAction;
class QMenu;
class QTabWidget;
class QWidget;

namespace brindle::runtime::qt {

struct BuiltControl {
    uint32_t id = 0;
    uint32_t kind = 0;
    QWidget* widget = nullptr;  // the window itself for the window element
};

struct BuiltWindow {
    uint32_t id = 0;
    uint32_t window_element_id = 0;
    std::unique_ptr<QWidget> window;
    std::map<uint32_t, BuiltControl> controls;  // by element identifier, the window element included
    std::map<uint32_t, std::unique_ptr<QMenu>> menus;  // by menu title identifier
    std::map<uint32_t, QAction*> menu_items;           // by item identifier, owned by their menu
    QSize outer_size;                                   // the window's outer size as the form gives it

    ~BuiltWindow();
    const BuiltControl* find(uint32_t element_id) const;
};

// What the widgets report back: a user's click (or a combo box choice), a menu choice, a link.
struct BuilderCallbacks {
    std::function<void(uint32_t element_id)> clicked;
    std::function<void(uint32_t item_id)> menu_chosen;
    std::function<void(const QString& address)> open_address;
};

// The widget that holds a page's controls: it covers the whole tab control, strip included, since
// page positions are measured from the control's own top-left corner.
QWidget* page_widget(QTabWidget& tabs, int index);

Result<std::unique_ptr<BuiltWindow>> build_window(const image::FormWindow& form, const BuilderCallbacks& callbacks);

}  // namespace brindle::runtime::qt
