#include "tools/drive/driver.h"

#include <charconv>
#include <memory>
#include <ostream>

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include "image/kernel_abi.h"
#include "runtime/qt/control_properties.h"
#include "runtime/qt/text_codec.h"
#include "tools/drive/json_text.h"

namespace brindle::drive {
namespace {

using runtime::PropertyValue;
namespace kind = abi::kind;

// Splits "word rest" at the first blank; rest keeps its inner blanks.
std::pair<std::string, std::string> split_word(const std::string& text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    size_t end = text.find(' ', begin);
    if (end == std::string::npos) return {text.substr(begin), {}};
    size_t rest = text.find_first_not_of(' ', end);
    return {text.substr(begin, end - begin), rest == std::string::npos ? std::string() : text.substr(rest)};
}

std::optional<int32_t> parse_int(const std::string& text) {
    int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

QString utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string json_list(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
    return out + "]";
}

}  // namespace

void Driver::error(const std::string& message) {
    had_error_ = true;
    err_ << "error: " << message << std::endl;
}

void Driver::flush_faults() {
    for (; faults_printed_ < desktop_.faults.size(); ++faults_printed_)
        err_ << "fault: " << desktop_.faults[faults_printed_].toStdString() << std::endl;
}

void Driver::answer(const std::string& text) { out_ << text << std::endl; }

std::optional<ControlRef> Driver::control_named(const std::string& name) {
    if (name.empty()) {
        error("a control name is missing");
        return std::nullopt;
    }
    auto ref = player_.find_control(utf8(name));
    if (!ref) error("no control is named " + name);
    return ref;
}

void Driver::handle(const std::string& raw) {
    std::string line = raw;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto [command, rest] = split_word(line);
    if (command.empty()) return;
    if (command == "set") return set(rest);
    if (command == "select") return select(rest);
    if (command == "click") return click(rest);
    if (command == "menu") return menu(rest);
    if (command == "tray") return tray(rest);
    if (command == "get") return get(rest);
    if (command == "visible") return visible();
    if (command == "clipboard") return answer(json_string(desktop_.clipboard_text()));
    if (command == "messages") return messages();
    if (command == "opened") return opened();
    if (command == "tray-icon") return tray_icon();
    if (command == "geometry") return geometry(rest);
    if (command == "page") return page(rest);
    if (command == "focus-chain") return focus_chain();
    if (command == "window") return window();
    if (command == "context-menu") return context_menu(rest);
    if (command == "key") return key(rest);
    if (command == "focus") return focus(rest);
    if (command == "live-blocks") return answer(std::to_string(kernel_.heap().live_blocks()));
    error("unknown command " + command);
}

void Driver::set(const std::string& rest) {
    auto [name, literal] = split_word(rest);
    auto ref = control_named(name);
    if (!ref) return;
    auto text = parse_json_string(literal);
    if (!text) return error("set " + name + ": the text must be a JSON string, not " + (literal.empty() ? "nothing" : literal));
    if (auto r = player_.type_text(*ref, *text); !r) return error("set " + name + ": " + r.error().message);
}

void Driver::select(const std::string& rest) {
    auto [name, number] = split_word(rest);
    auto ref = control_named(name);
    if (!ref) return;
    auto index = parse_int(number);
    if (!index) return error("select " + name + ": the selection must be a number, not " + number);
    const auto* c = ui_.window(ref->window_id)->find(ref->element_id);
    if (c->kind != kind::kComboBox) return error("select " + name + ": " + runtime::qt::a_kind(c->kind) + " has no selection");
    if (auto r = ui_.write_property(ref->window_id, ref->element_id, abi::property::kSelection, PropertyValue(*index)); !r)
        error("select " + name + ": " + r.error().message);
}

void Driver::click(const std::string& rest) {
    auto ref = control_named(rest);
    if (!ref) return;
    if (auto r = player_.click(*ref); !r) error("click " + rest + ": " + r.error().message);
}

void Driver::menu(const std::string& rest) {
    auto ref = player_.find_menu_item(utf8(rest));
    if (!ref) return error("no menu item has the caption " + rest);
    if (auto r = player_.choose_menu_item(*ref); !r) error("menu " + rest + ": " + r.error().message);
}

void Driver::tray(const std::string& rest) {
    auto code = parse_int(rest);
    if (!code) return error("tray: the code must be a number, not " + rest);
    if (!desktop_.tray_event(*code)) error("tray: no tray icon is placed");
}

void Driver::get(const std::string& rest) {
    auto ref = control_named(rest);
    if (!ref) return;
    const auto* c = ui_.window(ref->window_id)->find(ref->element_id);
    uint32_t property = c->kind == kind::kRadioBox   ? abi::property::kChecked
                        : c->kind == kind::kComboBox ? abi::property::kSelection
                                                     : abi::property::kText;
    auto value = ui_.read_property(ref->window_id, ref->element_id, property);
    if (!value) return error("get " + rest + ": " + value.error().message);
    if (const auto* text = std::get_if<std::string>(&*value)) return answer(json_string(runtime::qt::from_image_text(*text)));
    int32_t number = std::get<int32_t>(*value);
    if (property == abi::property::kChecked) return answer(number ? "true" : "false");
    answer(std::to_string(number));
}

runtime::qt::BuiltWindow* Driver::main_window() {
    // The main window: the first window the form describes.
    const auto& windows = ui_.form().windows;
    return windows.empty() ? nullptr : ui_.window(windows.front().id);
}

void Driver::visible() {
    if (ui_.form().windows.empty()) return error("the form describes no window");
    auto* w = main_window();
    if (!w) return answer("false");
    auto value = ui_.read_property(w->id, w->window_element_id, abi::property::kVisible);
    if (!value) return error("visible: " + value.error().message);
    answer(std::get<int32_t>(*value) ? "true" : "false");
}

void Driver::messages() {
    std::vector<std::string> items;
    for (const auto& m : desktop_.messages)
        items.push_back("{\"text\": " + json_string(m.text) + ", \"style\": " + std::to_string(m.style) +
                        ", \"title\": " + (m.title ? json_string(*m.title) : "null") + "}");
    desktop_.messages.clear();
    answer(json_list(items));
}

void Driver::opened() {
    std::vector<std::string> items;
    for (const auto& address : desktop_.opened) items.push_back(json_string(address));
    desktop_.opened.clear();
    answer(json_list(items));
}

void Driver::tray_icon() {
    if (!desktop_.tray_icon) return answer("null");
    answer("{\"tooltip\": " + json_string(desktop_.tray_icon->tooltip) +
           ", \"images\": " + std::to_string(desktop_.tray_icon->image_count) + "}");
}

}  // namespace brindle::drive

namespace brindle::drive {

void Driver::geometry(const std::string& rest) {
    auto ref = control_named(rest);
    if (!ref) return;
    auto* w = ui_.window(ref->window_id);
    QWidget* widget = w->find(ref->element_id)->widget;
    QWidget* top = w->window.get();
    QRect rect(widget->mapTo(top, QPoint(0, 0)), widget->size());
    // Seen only if shown with all its parents and not clipped away by any of them.
    QRect seen = rect;
    for (QWidget* up = widget->parentWidget(); up && seen.isValid(); up = up->parentWidget())
        seen &= QRect(up->mapTo(top, QPoint(0, 0)), up->size());
    bool shown = widget->isVisible() && seen.isValid() && !seen.isEmpty();
    answer("{\"x\":" + std::to_string(rect.x()) + ",\"y\":" + std::to_string(rect.y()) + ",\"w\":" +
           std::to_string(rect.width()) + ",\"h\":" + std::to_string(rect.height()) + ",\"shown\":" +
           (shown ? "true" : "false") + "}");
}

void Driver::page(const std::string& rest) {
    auto index = parse_int(rest);
    if (!index) return error("page: the page must be a number, not " + rest);
    auto* w = main_window();
    if (!w) return error("page: the main window is not open");
    for (const auto& e : ui_.form().windows.front().elements) {
        if (e.kind != kind::kTabControl || e.is_menu_item()) continue;
        QTabBar* bar = static_cast<QTabWidget*>(w->find(e.id)->widget)->tabBar();
        if (*index < 0 || *index >= bar->count())
            return error("page: the tab control has pages 0 to " + std::to_string(bar->count() - 1));
        bar->setCurrentIndex(*index);
        return;
    }
    error("page: the main window has no tab control");
}

void Driver::focus_chain() {
    auto* w = main_window();
    if (!w) return error("focus-chain: the main window is not open");
    std::map<const QWidget*, QString> names;
    for (const auto& [id, c] : w->all_controls()) names[c.widget] = c.widget->objectName();
    // What Tab visits: visible, enabled widgets that take focus by Tab, each named by its control.
    std::vector<std::string> chain;
    QWidget* top = w->window.get();
    for (QWidget* at = top->nextInFocusChain(); at && at != top; at = at->nextInFocusChain()) {
        if (!(at->focusPolicy() & Qt::TabFocus) || at->focusProxy() || !at->isVisible() || !at->isEnabled()) continue;
        const QWidget* control = at;
        while (control && !names.count(control)) control = control->parentWidget();
        if (!control || control == top) continue;
        std::string name = json_string(names[control]);
        if (chain.empty() || chain.back() != name) chain.push_back(name);
    }
    answer(json_list(chain));
}

void Driver::window() {
    auto* w = main_window();
    if (!w) return error("window: the main window is not open");
    QWidget* top = w->window.get();
    bool resizable = top->minimumSize() != top->maximumSize();
    answer("{\"w\":" + std::to_string(top->width()) + ",\"h\":" + std::to_string(top->height()) +
           ",\"resizable\":" + (resizable ? "true" : "false") + "}");
}

// The items of a text box's context menu, "-" for a separator.
void Driver::context_menu(const std::string& rest) {
    auto ref = control_named(rest);
    if (!ref) return;
    const auto* c = ui_.window(ref->window_id)->find(ref->element_id);
    std::unique_ptr<QMenu> menu;
    if (auto* multi = qobject_cast<QPlainTextEdit*>(c->widget)) menu.reset(runtime::qt::multiline_box_menu(*multi, QPoint(), {}));
    else if (auto* line = qobject_cast<QLineEdit*>(c->widget)) menu.reset(line->createStandardContextMenu());
    else return error("context-menu " + rest + ": " + runtime::qt::a_kind(c->kind) + " has no context menu");
    std::vector<std::string> items;
    for (QAction* action : menu->actions()) items.push_back(json_string(action->isSeparator() ? QStringLiteral("-") : action->text()));
    answer(json_list(items));
}

// Presses and releases one key combination ("Ctrl+Tab", "Return") where the main window's focus is.
void Driver::key(const std::string& rest) {
    QKeySequence sequence = QKeySequence::fromString(utf8(rest), QKeySequence::PortableText);
    if (sequence.count() != 1) return error("key: one key combination such as Ctrl+Tab, not " + rest);
    auto* w = main_window();
    if (!w) return error("key: the main window is not open");
    QWidget* target = w->window->focusWidget() ? w->window->focusWidget() : w->window.get();
    const QKeyCombination combination = sequence[0];
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, combination.key(), combination.keyboardModifiers());
        QApplication::sendEvent(target, &event);
    }
}

// "focus NAME" gives a control the focus; "focus" tells which control has it and on which page:
// {"control": NAME, "page": N}, page -1 off the tab control, control null when none has it.
void Driver::focus(const std::string& rest) {
    auto* w = main_window();
    if (!w) return error("focus: the main window is not open");
    if (!rest.empty()) {
        auto ref = control_named(rest);
        if (ref) w->find(ref->element_id)->widget->setFocus(Qt::TabFocusReason);
        return;
    }
    std::map<const QWidget*, QString> names;
    for (const auto& [id, c] : w->all_controls()) names[c.widget] = c.widget->objectName();
    const QWidget* control = w->window->focusWidget();
    while (control && !names.count(control)) control = control->parentWidget();
    if (!control || control == w->window.get()) return answer("{\"control\": null, \"page\": -1}");
    int page = -1;
    if (QTabWidget* tabs = w->tab_control)
        for (int i = 0; i < tabs->count(); ++i)
            if (runtime::qt::page_widget(*tabs, i)->isAncestorOf(control)) page = i;
    answer("{\"control\": " + json_string(names[control]) + ", \"page\": " + std::to_string(page) + "}");
}

}  // namespace brindle::drive
