#include "runtime/qt/window_builder.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTabBar>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <limits>

#include "common/hex.h"
#include "image/kernel_abi.h"
#include "image/property_blobs.h"
#include "runtime/qt/control_properties.h"
#include "runtime/qt/icon_file.h"
#include "runtime/qt/text_codec.h"
#include "runtime/qt/web_start_page.h"

namespace brindle::runtime::qt {

namespace kind = abi::kind;
namespace {

// The form's colour values are 0x00BBGGRR.
QColor form_colour(uint32_t value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

QWidget* make_label(const image::Element& e) {
    auto* label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    label->setText(from_image_text(e.properties.caption));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Labels lie above their neighbours so no caption is hidden; clicks go through to what is below.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // A label one line high clips instead of wrapping: a second line would fall outside its rectangle.
    label->setWordWrap(e.height >= 2 * label->fontMetrics().lineSpacing());
    if (auto colour = image::text_colour(e.kind, e.properties); colour && *colour != 0) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, form_colour(*colour));
        label->setPalette(palette);
    }
    return label;
}

QWidget* make_edit_box(const image::Element& e) {
    QString text = from_image_text(e.properties.text);
    if (image::multiline(e.kind, e.properties).value_or(false)) {
        auto* edit = new QPlainTextEdit;
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        // Tab moves on, as in every other box: a tab character never belongs in a generated tag.
        edit->setTabChangesFocus(true);
        set_multiline_text(*edit, text);
        return edit;
    }
    auto* line = new QLineEdit;
    // Qt keeps only 32767 characters by default; nothing typed or pasted may be cut.
    line->setMaxLength(std::numeric_limits<int>::max());
    line->setText(text);
    return line;
}

// Tabs as narrow as their captions allow: the form places page controls beside the strip (page 0's
// from x 457), so the style's padding around a tab's caption is halved.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};

// The form measures page controls from the tab control's own top-left corner, strip included, so each
// page's controls sit on a layer that covers the whole control; the strip stays above the layers.
class TabControl : public QTabWidget {
public:
    TabControl() {
        auto* style = new CompactTabStyle;
        style->setParent(tabBar());
        tabBar()->setStyle(style);
        setElideMode(Qt::ElideNone);
        setUsesScrollButtons(false);
        connect(this, &QTabWidget::currentChanged, this, [this](int index) {
            for (size_t i = 0; i < layers_.size(); ++i) layers_[i]->setVisible(static_cast<int>(i) == index);
        });
    }

    QWidget* layer(int index) {
        while (count() <= index) addTab(new QWidget, QString());
        while (static_cast<int>(layers_.size()) <= index) {
            auto* layer = new QWidget(this);
            layer->setGeometry(rect());
            layer->setVisible(static_cast<int>(layers_.size()) == currentIndex());
            layers_.push_back(layer);
            tabBar()->raise();
        }
        return layers_[index];
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QTabWidget::resizeEvent(event);
        for (QWidget* layer : layers_) layer->setGeometry(rect());
        tabBar()->raise();
    }

private:
    std::vector<QWidget*> layers_;
};

// The frame line runs through the caption's middle, so a box's first row (16 pixels down) stays clear
// of it. Drawn here rather than by a style sheet, which would restyle every control in the box and
// cost more than the rest of the window's set-up.
class FormGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const int middle = metrics.height() / 2;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRoundedRect(QRectF(rect().adjusted(0, middle, -1, -1)).translated(0.5, 0.5), 2, 2);
        if (title().isEmpty()) return;
        constexpr int kCaptionLeft = 7, kCaptionPadding = 2;
        QRect caption(kCaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding, metrics.height());
        painter.fillRect(caption, palette().brush(backgroundRole()));
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, title());
    }
};

QWidget* make_group_box(const image::Element& e) { return new FormGroupBox(from_image_text(e.properties.caption)); }

QWidget* make_combo_box(const image::Element& e) {
    auto* combo = new QComboBox;
    for (const auto& item : e.properties.items) combo->addItem(from_image_text(item));
    // The first item starts selected, as the builders' initial outputs expect.
    combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
    return combo;
}

QWidget* make_picture_box(const image::Element& e) {
    auto* label = new QLabel;
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (auto pixmap = load_picture(e.properties.picture)) label->setPixmap(*pixmap);
    return label;
}

QWidget* make_image_button(const image::Element& e) {
    auto* button = new QToolButton;
    button->setText(from_image_text(e.properties.caption));
    if (auto pixmap = load_picture(e.properties.picture)) {
        button->setIcon(QIcon(*pixmap));
        button->setIconSize(pixmap->size().boundedTo(QSize(e.width, e.height)));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setToolTip(button->text());
        button->setAutoRaise(true);
    }
    return button;
}

QWidget* make_web_browser_box(const image::Element& e, const BuilderCallbacks& callbacks) {
    auto* view = new QLabel;
    view->setFrameShape(QFrame::StyledPanel);
    view->setWordWrap(true);
    view->setTextFormat(Qt::RichText);
    QString address = from_image_text(e.properties.url);
    StartPage page = start_page_for(address);
    view->setAlignment(page.is_link ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    view->setText(page.html);
    QObject::connect(view, &QLabel::linkActivated, view, [callbacks](const QString& link) { callbacks.open_address(link); });
    return view;
}

QWidget* make_hyperlink_box(const image::Element& e, const BuilderCallbacks& callbacks) {
    auto* link = new QLabel;
    link->setTextFormat(Qt::RichText);
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    set_hyperlink(*link, from_image_text(e.properties.caption), from_image_text(e.properties.url));
    QObject::connect(link, &QLabel::linkActivated, link, [callbacks](const QString& address) { callbacks.open_address(address); });
    return link;
}

QWidget* make_control(const image::Element& e, const BuilderCallbacks& callbacks) {
    uint32_t id = e.id;
    auto clicked = [callbacks, id] { callbacks.clicked(id); };
    switch (e.kind) {
        case kind::kEditBox: return make_edit_box(e);
        case kind::kPictureBox: return make_picture_box(e);
        case kind::kGroupBox: return make_group_box(e);
        case kind::kLabel: return make_label(e);
        case kind::kButton: {
            auto* button = new QPushButton(from_image_text(e.properties.caption));
            QObject::connect(button, &QPushButton::clicked, button, clicked);
            return button;
        }
        case kind::kRadioBox: {
            auto* radio = new QRadioButton(from_image_text(e.properties.caption));
            radio->setAutoExclusive(true);
            if (image::checked(e.kind, e.properties).value_or(false)) radio->setChecked(true);
            QObject::connect(radio, &QRadioButton::clicked, radio, clicked);
            return radio;
        }
        case kind::kComboBox: {
            auto* combo = static_cast<QComboBox*>(make_combo_box(e));
            QObject::connect(combo, &QComboBox::activated, combo, clicked);
            return combo;
        }
        case kind::kTabControl: {
            auto* tabs = new TabControl;
            for (const auto& caption : e.properties.items) tabs->addTab(new QWidget, from_image_text(caption));
            return tabs;
        }
        case kind::kHyperlinkBox: return make_hyperlink_box(e, callbacks);
        case kind::kImageButton: {
            auto* button = static_cast<QToolButton*>(make_image_button(e));
            QObject::connect(button, &QToolButton::clicked, button, clicked);
            return button;
        }
        case kind::kWebBrowserBox: return make_web_browser_box(e, callbacks);
        default: return new QWidget;
    }
}

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

void stack(BuiltWindow& built, const std::vector<const image::Element*>& controls) {
    std::vector<size_t> order(controls.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        int la = stacking_layer(controls[a]->kind), lb = stacking_layer(controls[b]->kind);
        return la != lb ? la < lb : a > b;
    });
    for (size_t i : order) built.controls[controls[i]->id].widget->raise();
}

// Siblings share a parent and, on a tab control, a page.
using Place = std::pair<uint32_t, uint32_t>;
Place place_of(const image::Element& e, const BuiltWindow& built, const std::map<uint32_t, uint32_t>& pages) {
    const BuiltControl* parent = built.find(e.parent_id);
    if (!parent || parent->kind != kind::kTabControl) return {e.parent_id, 0};
    auto page = pages.find(e.id);
    return {e.parent_id, page == pages.end() ? 0 : page->second};
}

QRect rect_of(const image::Element& e) { return {e.left, e.top, e.width, e.height}; }

// A control that the user cannot see (hidden, or lying wholly under an input sibling stacked above it,
// like the three stores under 编辑框_标签输出1) never takes focus or typing: what it holds is data.
void shut_out_covered(BuiltWindow& built, const std::vector<const image::Element*>& controls,
                      const std::map<uint32_t, uint32_t>& pages) {
    for (size_t i = 0; i < controls.size(); ++i) {
        const image::Element& e = *controls[i];
        if (stacking_layer(e.kind) != 2) continue;
        bool covered = !e.visible();
        for (size_t j = 0; j < i && !covered; ++j) {
            const image::Element& above = *controls[j];
            covered = stacking_layer(above.kind) == 2 && above.visible() &&
                      place_of(above, built, pages) == place_of(e, built, pages) && rect_of(above).contains(rect_of(e));
        }
        if (!covered) continue;
        QWidget* widget = built.controls[e.id].widget;
        widget->setFocusPolicy(Qt::NoFocus);
        if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) multi->setReadOnly(true);
        if (auto* line = qobject_cast<QLineEdit*>(widget)) line->setReadOnly(true);
    }
}

// Tab follows each page's reading order: rows top to bottom (tops a few pixels apart make one row),
// left to right within a row, a group box's controls right after the box.
void set_reading_order(BuiltWindow& built, const std::vector<const image::Element*>& controls,
                       const std::map<uint32_t, uint32_t>& pages) {
    constexpr int kRowSlack = 10;
    std::map<Place, std::vector<const image::Element*>> by_place;
    for (const image::Element* e : controls) by_place[place_of(*e, built, pages)].push_back(e);
    std::vector<QWidget*> order;
    std::function<void(Place)> visit = [&](Place place) {
        auto items = by_place[place];
        std::stable_sort(items.begin(), items.end(), [](auto* a, auto* b) { return a->top < b->top; });
        for (size_t begin = 0; begin < items.size();) {
            size_t end = begin + 1;
            while (end < items.size() && items[end]->top - items[begin]->top <= kRowSlack) ++end;
            std::stable_sort(items.begin() + begin, items.begin() + end, [](auto* a, auto* b) { return a->left < b->left; });
            begin = end;
        }
        for (const image::Element* e : items) {
            QWidget* widget = built.controls[e->id].widget;
            order.push_back(widget);
            if (e->kind == kind::kGroupBox) visit({e->id, 0});
            if (e->kind == kind::kTabControl)
                for (int page = 0; page < static_cast<QTabWidget*>(widget)->count(); ++page) visit({e->id, page});
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

const BuiltControl* BuiltWindow::find(uint32_t element_id) const {
    auto it = controls.find(element_id);
    return it == controls.end() ? nullptr : &it->second;
}

Result<std::unique_ptr<BuiltWindow>> build_window(const image::FormWindow& form, const BuilderCallbacks& callbacks) {
    if (form.elements.empty() || form.elements.front().kind != kind::kWindow)
        return fail("window " + hex_id(form.id) + " has no window element");
    const image::Element& head = form.elements.front();
    // The reader refuses such geometry already; a form made some other way must not reach Qt with it.
    for (const image::Element& e : form.elements) {
        if (e.is_menu_item()) continue;
        auto position = [](int32_t v) { return v >= image::kMinPosition && v <= image::kMaxExtent; };
        auto extent = [](int32_t v) { return v >= 0 && v <= image::kMaxExtent; };
        if (!position(e.left) || !position(e.top) || !extent(e.width) || !extent(e.height))
            return fail("element " + hex_id(e.id) + " lies at " + std::to_string(e.left) + "," + std::to_string(e.top) +
                        " with size " + std::to_string(e.width) + "x" + std::to_string(e.height) +
                        ", which no screen can show");
    }
    auto built = std::make_unique<BuiltWindow>();
    built->id = form.id;
    built->window_element_id = head.id;
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
    built->controls[head.id] = {head.id, head.kind, window};

    // Widgets first, then parents: the form need not list a parent before its children.
    std::vector<const image::Element*> controls;
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
        QWidget* widget = make_control(e, callbacks);
        widget->setParent(window);  // owned by the window from the start, even if building fails below
        widget->setObjectName(from_image_text(e.name));
        built->controls[e.id] = {e.id, e.kind, widget};
        controls.push_back(&e);
    }

    // Nesting must end at the window: a parent cycle would make Qt's widget tree loop.
    for (const image::Element* e : controls) {
        uint32_t at = e->parent_id;
        for (size_t steps = 0; at != 0; ++steps) {
            const image::Element* up = form.find(at);
            if (!up) return fail("control " + hex_id(e->id) + " is nested in " + hex_id(at) + ", which the window does not hold");
            if (steps > controls.size()) return fail("the parents of control " + hex_id(e->id) + " form a cycle");
            at = up->parent_id;
        }
    }
    auto pages = form.pages();
    for (const image::Element* e : controls) {
        QWidget* widget = built->controls[e->id].widget;
        QWidget* parent = window;
        if (e->parent_id != 0) {
            const BuiltControl* holder = built->find(e->parent_id);
            if (!holder || holder->widget == window)
                return fail("control " + hex_id(e->id) + " names parent " + hex_id(e->parent_id) + ", which is not a control");
            parent = holder->widget;
            if (holder->kind == kind::kTabControl) {
                auto page = pages.find(e->id);
                int index = page == pages.end() ? 0 : static_cast<int>(page->second);
                parent = static_cast<TabControl*>(holder->widget)->layer(index);
            }
        }
        widget->setParent(parent);
        widget->setGeometry(e->left, e->top, e->width, e->height);
        widget->setVisible(e->visible());
    }
    stack(*built, controls);
    shut_out_covered(*built, controls, pages);
    set_reading_order(*built, controls, pages);
    return built;
}

}  // namespace brindle::runtime::qt
