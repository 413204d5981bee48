#include "runtime/qt/window_builder.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>

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
        set_multiline_text(*edit, text);
        return edit;
    }
    return new QLineEdit(text);
}

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
        case kind::kGroupBox: return new QGroupBox(from_image_text(e.properties.caption));
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
            auto* tabs = new QTabWidget;
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

bool is_container(uint32_t kind_code) { return kind_code == kind::kTabControl || kind_code == kind::kGroupBox; }

}  // namespace

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
    window->move(head.left, head.top);
    window->resize(head.width, head.height);
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
                auto* tabs = static_cast<QTabWidget*>(holder->widget);
                auto page = pages.find(e->id);
                int index = page == pages.end() ? 0 : static_cast<int>(page->second);
                while (tabs->count() <= index) tabs->addTab(new QWidget, QString());
                parent = tabs->widget(index);
            }
        }
        widget->setParent(parent);
        widget->setGeometry(e->left, e->top, e->width, e->height);
        widget->setVisible(e->visible());
    }
    // Among siblings the control listed first lies on top (the output box covers the stores listed
    // after it); containers stay below what shares their space, like 按钮1 over the tab control.
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) built->controls[(*it)->id].widget->raise();
    for (const image::Element* e : controls)
        if (is_container(e->kind)) built->controls[e->id].widget->lower();
    return built;
}

}  // namespace brindle::runtime::qt
