#pragma once
// Plays the user on the kernel's Qt windows from outside, the way Qt's test library drives widgets:
// controls found by name, clicks on the widgets themselves, typing as a user's edit.
#include <optional>

#include <QString>

#include "common/result.h"
#include "runtime/qt/desktop.h"
#include "runtime/qt/qt_ui.h"

namespace brindle::headless {

using runtime::qt::ControlRef;

class UiPlayer {
public:
    UiPlayer(const runtime::qt::QtUi& ui, runtime::qt::Desktop& desktop) : ui_(ui), desktop_(desktop) {}

    // A control of an open window by its name (UTF-8), or a menu item by its caption.
    std::optional<ControlRef> find_control(const QString& name) const;
    std::optional<ControlRef> find_menu_item(const QString& caption) const;
    // A click as a user makes it: a radio box is checked first (its siblings unchecked), then the
    // control's event 0 runs; a hyperlink opens its address.
    Result<void> click(ControlRef control);
    Result<void> choose_menu_item(ControlRef item);
    // Replaces an edit box's text (CR LF allowed) without an event.
    Result<void> type_text(ControlRef control, const QString& text);

private:
    Result<const runtime::qt::BuiltControl*> control(ControlRef ref) const;

    const runtime::qt::QtUi& ui_;
    runtime::qt::Desktop& desktop_;
};

}  // namespace brindle::headless
