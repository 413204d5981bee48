#include "runtime/qt/window_builder.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QWidget>

#include <algorithm>
#include <functional>

#include "common/hex.h"
#include "image/kernel_abi.h"
#include "runtime/qt/icon_file.h"
#include "runtime/qt/text_codec.h"
#include "runtime/qt/uncovered_text_boxes.h"
#include "runtime/qt/window_keys.h"

namespace brindle::runtime::qt {

namespace kind = abi::kind;
namespace {

using Controls = std::map<uint32_t, BuiltControl>;

// Stacking among siblings, bottom to top: containers (按钮1 lies over the tab control); pictures, links
// and browser views; the input kinds, the one listed first on top (the output box covers the stores
// listed after it); labels last, which draw only their text, so no neighbour hides a caption.
int stacking_layer(uint32_t kind_code) {
    switch (kind_code) {
        case kind::kTabControl:
        case kind::kGroupBox: return 0;
        case kind::kPictureBox:
        case kind::kHyperlinkBox:
        case kind::kWebBrowserBox: return 1;
        case kind::kLabel: return 3;
        default: return 2;
    }
}

void stack(const Controls& built, const std::vector<const image::Element*>& controls) {
    std::vector<size_t> order(controls.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        int la = stacking_layer(controls[a]->kind), lb = stacking_layer(controls[b]->kind);
        return la != lb ? la < lb : a > b;
    });
    for (size_t i : order) built.at(controls[i]->id).widget->raise();
}

// Siblings share a parent and, on a tab control, a page.
using Place = std::pair<uint32_t, uint32_t>;
Place place_of(const image::Element& e, const image::FormWindow& form, const std::map<uint32_t, uint32_t>& pages) {
    const image::Element* parent = e.parent_id == 0 ? nullptr : form.find(e.parent_id);
    if (!parent || parent->kind != kind::kTabControl) return {e.parent_id, 0};
    auto page = pages.find(e.id);
    return {e.parent_id, page == pages.end() ? 0 : page->second};
}

QRect rect_of(const image::Element& e) { return {e.left, e.top, e.width, e.height}; }

// A control that the user cannot see (hidden, or lying wholly under an input sibling stacked above it,
// like the three stores under 编辑框_标签输出1) never takes focus or typing: what it holds is data.
void shut_out_covered(const Controls& built, const std::vector<const image::Element*>& controls,
                      const image::FormWindow& form, const std::map<uint32_t, uint32_t>& pages) {
    for (size_t i = 0; i < controls.size(); ++i) {
        const image::Element& e = *controls[i];
        if (stacking_layer(e.kind) != 2) continue;
        bool covered = !e.visible();
        for (size_t j = 0; j < i && !covered; ++j) {
            const image::Element& above = *controls[j];
            covered = stacking_layer(above.kind) == 2 && above.visible() &&
                      place_of(above, form, pages) == place_of(e, form, pages) && rect_of(above).contains(rect_of(e));
        }
        if (!covered) continue;
        QWidget* widget = built.at(e.id).widget;
        widget->setFocusPolicy(Qt::NoFocus);
        if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) multi->setReadOnly(true);
        if (auto* line = qobject_cast<QLineEdit*>(widget)) line->setReadOnly(true);
    }
}

// Rows top to bottom (tops a few pixels apart make one row), left to right within a row. A group box
// with controls on its left in the rows it spans is read after them, like a second column.
void sort_in_reading_order(std::vector<const image::Element*>& items) {
    constexpr int kRowSlack = 10;
    std::stable_sort(items.begin(), items.end(), [](auto* a, auto* b) { return a->top < b->top; });
    for (size_t begin = 0; begin < items.size();) {
        size_t end = begin + 1;
        while (end < items.size() && items[end]->top - items[begin]->top <= kRowSlack) ++end;
        std::stable_sort(items.begin() + begin, items.begin() + end, [](auto* a, auto* b) { return a->left < b->left; });
        begin = end;
    }
    for (auto box = items.begin(); box != items.end();) {
        const image::Element* group = *box;
        auto beside = [group](const image::Element* e) {
            return e->left + e->width / 2 < group->left && e->top < group->top + group->height;
        };
        auto rest = group->kind == kind::kGroupBox ? std::stable_partition(box + 1, items.end(), beside) : box + 1;
        if (rest == box + 1) {
            ++box;
            continue;
        }
        // The controls moved before the box are looked at in turn: one of them may be a group box too.
        std::rotate(box, box + 1, rest);
    }
}

// Tab follows each page's reading order, a group box's controls right after the box.
void set_reading_order(const Controls& built, const image::FormWindow& form, const std::map<uint32_t, uint32_t>& pages) {
    std::map<Place, std::vector<const image::Element*>> by_place;
    for (const image::Element& e : form.elements)
        if (&e != &form.elements.front() && !e.is_menu_item() && built.count(e.id))
            by_place[place_of(e, form, pages)].push_back(&e);
    std::vector<QWidget*> order;
    std::function<void(Place)> visit = [&](Place place) {
        auto items = by_place[place];
        sort_in_reading_order(items);
        for (const image::Element* e : items) {
            QWidget* widget = built.at(e->id).widget;
            if (e->kind == kind::kGroupBox) {
                order.push_back(widget);
                visit({e->id, 0});
            } else if (e->kind == kind::kTabControl) {
                // Ordered by its strip: Qt moves a tab control in the chain together with whatever of its
                // pages follows it there, which splits the chain once pages are built at different times.
                auto* tabs = static_cast<QTabWidget*>(widget);
                order.push_back(tabs->tabBar());
                for (int page = 0; page < tabs->count(); ++page) visit({e->id, page});
            } else {
                order.push_back(widget);
            }
        }
    };
    visit({0, 0});
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (!(widget->focusPolicy() & Qt::TabFocus)) continue;
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

// The form must be whole before anything is built, so that a page built later cannot fail.
Result<void> check_form(const image::FormWindow& form) {
    for (const image::Element& e : form.elements) {
        if (e.is_menu_item()) continue;
        auto position = [](int32_t v) { return v >= image::kMinPosition && v <= image::kMaxExtent; };
        auto extent = [](int32_t v) { return v >= 0 && v <= image::kMaxExtent; };
        if (!position(e.left) || !position(e.top) || !extent(e.width) || !extent(e.height))
            return fail("element " + hex_id(e.id) + " lies at " + std::to_string(e.left) + "," + std::to_string(e.top) +
                        " with size " + std::to_string(e.width) + "x" + std::to_string(e.height) +
                        ", which no screen can show");
    }
    // Nesting must end at the window: a parent cycle would make Qt's widget tree loop.
    const size_t count = form.elements.size();
    for (size_t i = 1; i < count; ++i) {
        const image::Element& e = form.elements[i];
        if (e.is_menu_item()) continue;
        uint32_t at = e.parent_id;
        for (size_t steps = 0; at != 0; ++steps) {
            const image::Element* up = form.find(at);
            if (!up) return fail("control " + hex_id(e.id) + " is nested in " + hex_id(at) + ", which the window does not hold");
            if (steps > count) return fail("the parents of control " + hex_id(e.id) + " form a cycle");
            at = up->parent_id;
        }
        if (e.parent_id == 0) continue;
        const image::Element* holder = form.find(e.parent_id);
        if (holder == &form.elements.front() || holder->is_menu_item())
            return fail("control " + hex_id(e.id) + " names parent " + hex_id(e.parent_id) + ", which is not a control");
    }
    return {};
}

}  // namespace

QWidget* page_widget(QTabWidget& tabs, int index) {
    auto* control = dynamic_cast<TabControl*>(&tabs);
    return control ? control->layer(index) : tabs.widget(index);
}

BuiltWindow::~BuiltWindow() {
    menu_items.clear();
    menus.clear();
    window.reset();
}

const BuiltControl* BuiltWindow::find(uint32_t element_id) {
    if (auto waiting = waiting_page_of_.find(element_id); waiting != waiting_page_of_.end()) build_page(waiting->second);
    auto it = controls_.find(element_id);
    return it == controls_.end() ? nullptr : &it->second;
}

const std::map<uint32_t, BuiltControl>& BuiltWindow::all_controls() {
    while (build_waiting_page()) {
    }
    return controls_;
}

bool BuiltWindow::build_waiting_page() {
    if (waiting_.empty()) return false;
    build_page(waiting_.begin()->first);
    return true;
}

void BuiltWindow::build_page(Page page) {
    auto it = waiting_.find(page);
    if (it == waiting_.end()) return;
    std::vector<const image::Element*> members = std::move(it->second);
    waiting_.erase(it);
    for (const image::Element* e : members) waiting_page_of_.erase(e->id);
    find(page.first);  // a tab control on a page of another is built with that page
    build(members);
    set_reading_order(controls_, *form_, pages_);
}

// Widgets first, then parents: the form need not list a parent before its children.
void BuiltWindow::build(const std::vector<const image::Element*>& members) {
    QWidget* top = window.get();
    for (const image::Element* e : members) {
        QWidget* widget = make_control(*e, callbacks_);
        widget->setParent(top);  // owned by the window from the start
        widget->setObjectName(from_image_text(e->name));
        controls_[e->id] = {e->id, e->kind, widget};
    }
    for (const image::Element* e : members) {
        QWidget* widget = controls_[e->id].widget;
        QWidget* parent = top;
        if (e->parent_id != 0) {
            const BuiltControl* holder = find(e->parent_id);  // on this page or built before it
            parent = holder->widget;
            if (holder->kind == kind::kTabControl) {
                auto page = pages_.find(e->id);
                parent = static_cast<TabControl*>(holder->widget)->layer(page == pages_.end() ? 0 : static_cast<int>(page->second));
            }
        }
        widget->setParent(parent);
        widget->setGeometry(e->left, e->top, e->width, e->height);
        widget->setVisible(e->visible());
    }
    stack(controls_, members);
    shut_out_covered(controls_, members, *form_, pages_);
    for (const image::Element* e : members) {
        if (e->kind != kind::kTabControl) continue;
        auto* tabs = static_cast<TabControl*>(controls_[e->id].widget);
        uint32_t tab = e->id;
        tabs->set_page_opening([this, tab](int index) { build_page({tab, static_cast<uint32_t>(index)}); });
        build_page({tab, static_cast<uint32_t>(std::max(tabs->currentIndex(), 0))});
    }
}

Result<std::unique_ptr<BuiltWindow>> build_window(const image::FormWindow& form, const BuilderCallbacks& callbacks) {
    if (form.elements.empty() || form.elements.front().kind != kind::kWindow)
        return fail("window " + hex_id(form.id) + " has no window element");
    // The reader refuses bad geometry already; a form made some other way must not reach Qt with it.
    if (auto r = check_form(form); !r) return std::unexpected(r.error());
    const image::Element& head = form.elements.front();
    auto built = std::make_unique<BuiltWindow>();
    built->id = form.id;
    built->window_element_id = head.id;
    built->form_ = &form;
    built->callbacks_ = callbacks;
    built->pages_ = form.pages();
    built->window = std::make_unique<QWidget>();
    QWidget* window = built->window.get();
    window->setWindowTitle(from_image_text(head.properties.caption));
    if (auto icon = load_icon(head.properties.picture)) window->setWindowIcon(icon->icon);
    // The layout is fixed: no resizing, no maximising.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->move(head.left, head.top);
    window->setFixedSize(head.width, head.height);
    built->outer_size = QSize(head.width, head.height);
    built->controls_[head.id] = {head.id, head.kind, window};

    std::vector<const image::Element*> at_once;
    QMenu* current_menu = nullptr;
    for (size_t i = 1; i < form.elements.size(); ++i) {
        const image::Element& e = form.elements[i];
        if (e.is_menu_item()) {
            QString caption = from_image_text(e.caption);
            if (e.level == 0) {
                auto menu = std::make_unique<QMenu>(caption);
                current_menu = menu.get();
                built->menus[e.id] = std::move(menu);
            } else if (current_menu) {
                QAction* action = current_menu->addAction(caption);
                uint32_t id = e.id;
                QObject::connect(action, &QAction::triggered, action, [callbacks, id] { callbacks.menu_chosen(id); });
                built->menu_items[e.id] = action;
            }
            continue;
        }
        // A control waits with the page of the nearest tab control it lies on, if any.
        const image::Element* child = &e;
        const image::Element* parent = e.parent_id == 0 ? nullptr : form.find(e.parent_id);
        while (parent && parent->kind != kind::kTabControl) {
            child = parent;
            parent = parent->parent_id == 0 ? nullptr : form.find(parent->parent_id);
        }
        if (!parent) {
            at_once.push_back(&e);
            continue;
        }
        auto page = built->pages_.find(child->id);
        BuiltWindow::Page home{parent->id, page == built->pages_.end() ? 0 : page->second};
        built->waiting_[home].push_back(&e);
        built->waiting_page_of_[e.id] = home;
    }
    built->build(at_once);
    set_reading_order(built->controls_, form, built->pages_);
    for (const image::Element* e : at_once) {
        if (e->parent_id != 0 || !e->visible()) continue;
        built->client_extent = built->client_extent.expandedTo(QSize(e->left + e->width, e->top + e->height));
        if (e->kind != kind::kTabControl) continue;
        auto* tabs = static_cast<QTabWidget*>(built->controls_[e->id].widget);
        keep_text_boxes_uncovered(*tabs);
        if (!built->tab_control) {
            built->tab_control = tabs;
            install_window_keys(*window, *tabs);
        }
    }
    return built;
}

}  // namespace brindle::runtime::qt
