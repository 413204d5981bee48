#pragma once
// What a feature needs while the image is compiled: the main window's controls by catalogue name
// as routine handles, and a way to emit a routine and bind it to an event. Each feature source
// defines one add_*_routines function, listed in app/features.h.
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "common/result.h"
#include "codegen/program.h"
#include "image/form_writer.h"

namespace brindle::app {

using codegen::Routine;
using RoutineBody = std::function<void(Routine&)>;

class AppBuild {
public:
    // `form` already holds the window and every control of the catalogue.
    AppBuild(codegen::Program& program, image::FormBuilder& form);

    // A control of the main window by its catalogue name. An unknown name is a build error (the
    // first one is reported by status()); the returned handle is then the window element.
    codegen::Control control(std::string_view name);
    // The main window's own element: visibility and the window-reference argument go through it.
    codegen::Control window() const;
    // The menu title 程序菜单, for the pop-up command.
    codegen::MenuRef menu() const;

    // Emits a routine and binds it to event `event` of the named control (0: the click).
    void on(std::string_view control_name, const RoutineBody& body, int32_t event = 0);
    // Emits a routine for an event of the main window's own element.
    void on_window(int32_t event, const RoutineBody& body, uint32_t argument_count = 0);
    // Emits a routine for the menu item with that caption.
    void on_menu(std::string_view caption, const RoutineBody& body);

    // The first error met: an unknown name, a binding the form refused, a click bound to a control
    // the catalogue gives no feature, or a control whose feature got no routine.
    Result<void> status() const;

private:
    void note(Error error);
    uint32_t emit(std::string_view name, const RoutineBody& body, uint32_t argument_count = 0);

    codegen::Program& program_;
    image::FormBuilder& form_;
    std::optional<Error> error_;
    std::set<uint32_t> clicked_;  // controls whose click has a routine
};

}  // namespace brindle::app
