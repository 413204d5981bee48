#include "runtime/qt/control_properties.h"

#include <vector>

#include <QComboBox>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QRadioButton>
#include <QToolButton>
#include <QWidget>

#include "image/kernel_abi.h"
#include "runtime/qt/text_codec.h"

namespace brindle::runtime::qt {
namespace kind = abi::kind;
namespace property = abi::property;
namespace {

constexpr const char* kCaptionKey = "brindle_caption";
constexpr const char* kAddressKey = "brindle_address";
constexpr const char* kFoldedKey = "brindle_folded";
// The user state of a block that continues the line of the block before it.
constexpr int kContinuesLine = 0x464F4C44;

std::unexpected<Error> unsupported(const BuiltControl& c, uint32_t number) {
    return fail("property " + std::to_string(number) + " is not a property of " + a_kind(c.kind));
}

std::optional<QString> text_of(const BuiltControl& c) {
    QWidget* w = c.widget;
    switch (c.kind) {
        case kind::kWindow: return w->windowTitle();
        case kind::kEditBox:
            if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) return multiline_text(*multi);
            return static_cast<QLineEdit*>(w)->text();
        case kind::kLabel: return static_cast<QLabel*>(w)->text();
        case kind::kButton:
        case kind::kRadioBox:
        case kind::kImageButton: return static_cast<QAbstractButton*>(w)->text();
        case kind::kGroupBox: return static_cast<QGroupBox*>(w)->title();
        case kind::kComboBox: return static_cast<QComboBox*>(w)->currentText();
        case kind::kHyperlinkBox: return w->property(kCaptionKey).toString();
        default: return std::nullopt;
    }
}

bool set_text_of(const BuiltControl& c, const QString& text) {
    QWidget* w = c.widget;
    switch (c.kind) {
        case kind::kWindow: w->setWindowTitle(text); return true;
        case kind::kEditBox:
            if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) set_multiline_text(*multi, text);
            else static_cast<QLineEdit*>(w)->setText(text);
            return true;
        case kind::kLabel: static_cast<QLabel*>(w)->setText(text); return true;
        case kind::kButton:
        case kind::kRadioBox:
        case kind::kImageButton: static_cast<QAbstractButton*>(w)->setText(text); return true;
        case kind::kGroupBox: static_cast<QGroupBox*>(w)->setTitle(text); return true;
        case kind::kComboBox: static_cast<QComboBox*>(w)->setCurrentText(text); return true;
        case kind::kHyperlinkBox:
            set_hyperlink(*static_cast<QLabel*>(w), text, w->property(kAddressKey).toString());
            return true;
        default: return false;
    }
}

void set_visible(const BuiltControl& c, bool visible) {
    if (c.kind != kind::kWindow) return c.widget->setVisible(visible);
    if (!visible) return c.widget->hide();
    c.widget->showNormal();
    // The offscreen platform has no stacking or focus to give.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) return;
    c.widget->raise();
    c.widget->activateWindow();
}

void set_checked(QRadioButton& radio, bool on) {
    if (on || !radio.autoExclusive()) return radio.setChecked(on);
    // An exclusive radio box refuses to be unchecked directly.
    radio.setAutoExclusive(false);
    radio.setChecked(false);
    radio.setAutoExclusive(true);
}

}  // namespace

std::string kind_name(uint32_t kind_code) {
    std::string_view name = kind::name(kind_code);
    return name.empty() ? "control of an unknown kind" : std::string(name);
}

void set_hyperlink(QLabel& label, const QString& caption, const QString& address) {
    label.setProperty(kCaptionKey, caption);
    label.setProperty(kAddressKey, address);
    QString shown = (caption.isEmpty() ? address : caption).toHtmlEscaped();
    label.setText(address.isEmpty() ? shown : QStringLiteral("<a href=\"%1\">%2</a>").arg(address.toHtmlEscaped(), shown));
}

void set_multiline_text(QPlainTextEdit& edit, const QString& text) {
    QString lf = crlf_to_lf(text);
    // Positions (in the shown text) of the first character of each folded-off piece.
    std::vector<qsizetype> pieces;
    QString shown;
    qsizetype copied = 0;
    for (qsizetype start = 0; start < lf.size();) {
        qsizetype end = lf.indexOf(u'\n', start);
        if (end < 0) end = lf.size();
        for (qsizetype cut = start + kFoldAt; end - start > kFoldAt && cut < end; cut += kFoldAt) {
            if (lf[cut - 1].isHighSurrogate()) --cut;  // never split a character
            shown.append(QStringView(lf).mid(copied, cut - copied));
            shown.append(u'\n');
            pieces.push_back(shown.size());
            copied = start = cut;
        }
        start = end + 1;
    }
    // Straight into the document, which costs about a quarter less than the box's own setPlainText;
    // the cursor then goes back to the start, which also scrolls the box to its top, as that would.
    QTextDocument* doc = edit.document();
    if (pieces.empty()) {
        doc->setPlainText(lf);
    } else {
        shown.append(QStringView(lf).mid(copied));
        doc->setPlainText(shown);
        for (qsizetype at : pieces) doc->findBlock(static_cast<int>(at)).setUserState(kContinuesLine);
    }
    edit.moveCursor(QTextCursor::Start);
    edit.setProperty(kFoldedKey, !pieces.empty());
}

QString multiline_text(const QPlainTextEdit& edit) {
    QString all = edit.toPlainText();
    if (!edit.property(kFoldedKey).toBool()) return lf_to_crlf(all);
    QString joined;
    joined.reserve(all.size());
    qsizetype copied = 0;
    for (QTextBlock b = edit.document()->begin(); b.isValid(); b = b.next()) {
        if (b.userState() != kContinuesLine || b.position() == 0) continue;
        joined.append(QStringView(all).mid(copied, b.position() - 1 - copied));
        copied = b.position();
    }
    joined.append(QStringView(all).mid(copied));
    return lf_to_crlf(joined);
}

Result<PropertyValue> read_control_property(const BuiltControl& c, uint32_t number) {
    switch (number) {
        case property::kVisible: return PropertyValue(int32_t(c.widget->isHidden() ? 0 : 1));
        case property::kText:
            if (auto text = text_of(c)) return PropertyValue(to_image_text(*text));
            break;
        case property::kChecked:
            if (c.kind == kind::kRadioBox) return PropertyValue(int32_t(static_cast<QRadioButton*>(c.widget)->isChecked()));
            break;
        case property::kSelection:
            if (c.kind == kind::kComboBox) return PropertyValue(int32_t(static_cast<QComboBox*>(c.widget)->currentIndex()));
            break;
    }
    return unsupported(c, number);
}

Result<void> write_control_property(const BuiltControl& c, uint32_t number, const PropertyValue& value) {
    const auto* text = std::get_if<std::string>(&value);
    const auto* integer = std::get_if<int32_t>(&value);
    if (number == property::kText) {
        if (!text) return fail("property 8 takes a text, not an integer");
        if (!set_text_of(c, from_image_text(*text))) return unsupported(c, number);
        return {};
    }
    if (!integer) return fail("property " + std::to_string(number) + " takes an integer, not a text");
    switch (number) {
        case property::kVisible: set_visible(c, *integer != 0); return {};
        case property::kChecked:
            if (c.kind != kind::kRadioBox) break;
            set_checked(*static_cast<QRadioButton*>(c.widget), *integer != 0);
            return {};
        case property::kSelection: {
            if (c.kind != kind::kComboBox) break;
            auto* combo = static_cast<QComboBox*>(c.widget);
            // A number outside the list selects nothing, so a routine can clear the choice with -1.
            combo->setCurrentIndex(*integer >= 0 && *integer < combo->count() ? *integer : -1);
            return {};
        }
    }
    return unsupported(c, number);
}

std::string a_kind(uint32_t kind_code) {
    std::string name = kind_name(kind_code);
    bool vowel = std::string_view("aeiou").find(name.front()) != std::string_view::npos;
    return (vowel ? "an " : "a ") + name;
}

}  // namespace brindle::runtime::qt
