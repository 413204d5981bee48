#pragma once
// Builds a window's widget tree from its form description: the window, the tab control and its
// pages, group boxes as parents, every control at its pixel geometry, and the pop-up menus.
//
// Only what the first frame shows is built at once: the window's own controls and the current page of
// each tab control. Another page is built when it is first shown, when anything asks for one of its
// controls, or when build_waiting_page() is called while the user looks at the first; whoever asks
// finds it as if it had been built with the rest.
#include <map>
#include <memory>
#include <vector>

#include <QSize>

#include "common/result.h"
#include "image/form_model.h"
#include "runtime/qt/control_widgets.h"

class QAction;
class QMenu;
class QWidget;

namespace brindle::runtime::qt {

struct BuiltControl {
    uint32_t id = 0;
    uint32_t kind = 0;
    QWidget* widget = nullptr;  // the window itself for the window element
};

class BuiltWindow {
public:
    uint32_t id = 0;
    uint32_t window_element_id = 0;
    std::unique_ptr<QWidget> window;
    std::map<uint32_t, std::unique_ptr<QMenu>> menus;  // by menu title identifier
    std::map<uint32_t, QAction*> menu_items;           // by item identifier, owned by their menu
    QSize outer_size;                                   // the window's outer size as the form gives it
    QSize client_extent;  // how far the window's own controls reach: the client area is never smaller
    QTabWidget* tab_control = nullptr;  // the first on the window itself, whose pages the page keys turn

    ~BuiltWindow();
    // The control with this element identifier (the window element included), its page built first if
    // it was waiting; null if the window has no such control.
    const BuiltControl* find(uint32_t element_id);
    // Every control, with every waiting page built.
    const std::map<uint32_t, BuiltControl>& all_controls();
    // Builds one waiting page; false when none was left.
    bool build_waiting_page();

private:
    friend Result<std::unique_ptr<BuiltWindow>> build_window(const image::FormWindow& form,
                                                             const BuilderCallbacks& callbacks);
    // A tab control's page: the tab control's element identifier and the page's index.
    using Page = std::pair<uint32_t, uint32_t>;

    void build(const std::vector<const image::Element*>& members);
    void build_page(Page page);

    const image::FormWindow* form_ = nullptr;  // outlives the window: the UI keeps the form
    BuilderCallbacks callbacks_;
    std::map<uint32_t, uint32_t> pages_;  // the page of every control on a tab control
    std::map<uint32_t, BuiltControl> controls_;
    std::map<Page, std::vector<const image::Element*>> waiting_;  // pages not built yet, their controls in form order
    std::map<uint32_t, Page> waiting_page_of_;                     // their controls' pages
};

// The widget that holds a page's controls: it covers the whole tab control, strip included, since
// page positions are measured from the control's own top-left corner.
QWidget* page_widget(QTabWidget& tabs, int index);

Result<std::unique_ptr<BuiltWindow>> build_window(const image::FormWindow& form, const BuilderCallbacks& callbacks);

}  // namespace brindle::runtime::qt
