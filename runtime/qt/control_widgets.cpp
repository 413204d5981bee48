#include "runtime/qt/control_widgets.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>
#include <limits>
#include <memory>

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

QWidget* make_edit_box(const image::Element& e, const BuilderCallbacks& callbacks) {
    QString text = from_image_text(e.properties.text);
    if (image::multiline(e.kind, e.properties).value_or(false)) {
        auto* edit = new QPlainTextEdit;
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        // Tab moves on, as in every other box: a tab character never belongs in a generated tag.
        edit->setTabChangesFocus(true);
        set_multiline_text(*edit, text);
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(edit, &QWidget::customContextMenuRequested, edit, [edit, callbacks](const QPoint& at) {
            std::unique_ptr<QMenu> menu(multiline_box_menu(*edit, at, callbacks));
            menu->exec(edit->mapToGlobal(at));
        });
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
    // The closed box keeps the form's width and shows what fits of the chosen item; the whole is its
    // tooltip. (Qt opens the list as wide as the longest item.)
    QObject::connect(combo, &QComboBox::currentTextChanged, combo, &QWidget::setToolTip);
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

// Reached by Tab with its link already picked out, so that the user sees where the focus is and Enter
// opens it.
class LinkLabel : public QLabel {
protected:
    void focusInEvent(QFocusEvent* event) override {
        QLabel::focusInEvent(event);
        const bool by_key = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
        if (by_key && (textInteractionFlags() & Qt::LinksAccessibleByKeyboard) && !hasSelectedText())
            QLabel::focusNextPrevChild(true);
    }
};

QWidget* make_hyperlink_box(const image::Element& e, const BuilderCallbacks& callbacks) {
    auto* link = new LinkLabel;
    link->setTextFormat(Qt::RichText);
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QString address = from_image_text(e.properties.url);
    set_hyperlink(*link, from_image_text(e.properties.caption), address);
    // Reached by Tab and opened with Enter, like a button.
    if (!address.isEmpty()) link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QObject::connect(link, &QLabel::linkActivated, link, [callbacks](const QString& address) { callbacks.open_address(address); });
    return link;
}

}  // namespace

QMenu* multiline_box_menu(QPlainTextEdit& edit, const QPoint& at, const BuilderCallbacks& callbacks) {
    QMenu* menu = edit.createStandardContextMenu(at);
    auto* copy_all = new QAction(QStringLiteral("全部复制"), menu);
    copy_all->setEnabled(!edit.document()->isEmpty());
    QObject::connect(copy_all, &QAction::triggered, copy_all, [&edit, callbacks] {
        if (callbacks.copy_text) callbacks.copy_text(multiline_text(edit));
    });
    // Beside Copy, which copies only the selection.
    const QList<QAction*> actions = menu->actions();
    auto copy = std::find_if(actions.begin(), actions.end(), [](QAction* a) { return a->objectName() == u"edit-copy"; });
    QAction* before = copy == actions.end() || copy + 1 == actions.end() ? nullptr : *(copy + 1);
    menu->insertAction(before, copy_all);
    return menu;
}

TabControl::TabControl() {
    auto* style = new CompactTabStyle;
    style->setParent(tabBar());
    tabBar()->setStyle(style);
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(false);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (opening_) opening_(index);
        for (size_t i = 0; i < layers_.size(); ++i) layers_[i]->setVisible(static_cast<int>(i) == index);
    });
}

QWidget* TabControl::layer(int index) {
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

void TabControl::resizeEvent(QResizeEvent* event) {
    QTabWidget::resizeEvent(event);
    for (QWidget* layer : layers_) layer->setGeometry(rect());
    tabBar()->raise();
}

QWidget* make_control(const image::Element& e, const BuilderCallbacks& callbacks) {
    uint32_t id = e.id;
    auto clicked = [callbacks, id] { callbacks.clicked(id); };
    switch (e.kind) {
        case kind::kEditBox: return make_edit_box(e, callbacks);
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
            // Every page's layer now, before the window is shown: one added to a shown tab control
            // makes Qt repaint the whole page in view.
            if (tabs->count() > 0) tabs->layer(tabs->count() - 1);
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

}  // namespace brindle::runtime::qt
