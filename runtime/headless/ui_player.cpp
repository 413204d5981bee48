#include "runtime/headless/ui_player.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include "common/hex.h"
#include "common/try.h"
#include "image/kernel_abi.h"
#include "runtime/qt/control_properties.h"
#include "runtime/qt/text_codec.h"

namespace brindle::headless {

using runtime::qt::a_kind;
using runtime::qt::BuiltControl;
using runtime::qt::BuiltWindow;

Result<const BuiltControl*> UiPlayer::control(ControlRef ref) const {
    BuiltWindow* w = ui_.window(ref.window_id);
    if (!w) return fail("window " + hex_id(ref.window_id) + " is not open");
    const BuiltControl* c = w->find(ref.element_id);
    if (!c) return fail("window " + hex_id(ref.window_id) + " has no control " + hex_id(ref.element_id));
    return c;
}

std::optional<ControlRef> UiPlayer::find_control(const QString& name) const {
    std::string gbk = runtime::qt::to_image_text(name);
    for (const auto& form : ui_.form().windows) {
        if (!ui_.window(form.id)) continue;
        for (const auto& e : form.elements)
            if (!e.is_menu_item() && !e.name.empty() && e.name == gbk) return ControlRef{form.id, e.id};
    }
    return std::nullopt;
}

std::optional<ControlRef> UiPlayer::find_menu_item(const QString& caption) const {
    std::string gbk = runtime::qt::to_image_text(caption);
    for (const auto& form : ui_.form().windows) {
        if (!ui_.window(form.id)) continue;
        for (const auto& e : form.elements)
            if (e.is_menu_item() && e.level > 0 && e.caption == gbk) return ControlRef{form.id, e.id};
    }
    return std::nullopt;
}

Result<void> UiPlayer::click(ControlRef ref) {
    BRINDLE_TRY(const BuiltControl* c, control(ref));
    if (auto* button = qobject_cast<QAbstractButton*>(c->widget)) {
        if (!button->isEnabled()) return fail("the " + runtime::qt::kind_name(c->kind) + " is disabled");
        button->click();
        return {};
    }
    if (c->kind == abi::kind::kHyperlinkBox) {
        QString address = c->widget->property("brindle_address").toString();
        if (!address.isEmpty()) desktop_.open_address(address);
        return {};
    }
    return fail(a_kind(c->kind) + " cannot be clicked");
}

Result<void> UiPlayer::choose_menu_item(ControlRef item) {
    const BuiltWindow* w = ui_.window(item.window_id);
    if (!w) return fail("window " + hex_id(item.window_id) + " is not open");
    auto it = w->menu_items.find(item.element_id);
    if (it == w->menu_items.end())
        return fail("window " + hex_id(item.window_id) + " has no menu item " + hex_id(item.element_id));
    it->second->trigger();
    return {};
}

Result<void> UiPlayer::type_text(ControlRef ref, const QString& text) {
    BRINDLE_TRY(const BuiltControl* c, control(ref));
    if (c->kind != abi::kind::kEditBox) return fail(a_kind(c->kind) + " takes no typing");
    if (auto* multi = qobject_cast<QPlainTextEdit*>(c->widget))
        runtime::qt::set_multiline_text(*multi, text);
    else if (auto* line = qobject_cast<QLineEdit*>(c->widget))
        line->setText(text);
    return {};
}

}  // namespace brindle::headless
