#include "app/app_build.h"

#include "app/catalogue.h"
#include "image/kernel_abi.h"

namespace brindle::app {

AppBuild::AppBuild(codegen::Program& program, image::FormBuilder& form) : program_(program), form_(form) {}

void AppBuild::note(Error error) {
    if (!error_) error_ = std::move(error);
}

codegen::Control AppBuild::window() const {
    return {main_window().id, main_window().element_id};
}

codegen::MenuRef AppBuild::menu() const {
    for (const MenuItem& item : menu_items())
        if (item.level == 0) return {main_window().id, item.id};
    return {main_window().id, 0};
}

codegen::Control AppBuild::control(std::string_view name) {
    if (const Control* c = find_control(name)) return {main_window().id, c->id};
    note(Error{"no control of that name in the catalogue", std::string(name)});
    return window();
}

uint32_t AppBuild::emit(std::string_view name, const RoutineBody& body, uint32_t argument_count) {
    return program_.add_routine(name, body, argument_count);
}

void AppBuild::on(std::string_view control_name, const RoutineBody& body, int32_t event) {
    const Control* c = find_control(control_name);
    if (!c) {
        note(Error{"no control of that name in the catalogue", std::string(control_name)});
        return;
    }
    // The catalogue says which controls a click starts something on; a binding elsewhere is a slip.
    if (event == abi::event::kPrincipal) {
        if (c->feature == Feature::None) note(Error{"the catalogue gives this control no feature", std::string(control_name)});
        clicked_.insert(c->id);
    }
    uint32_t offset = emit(control_name, body);
    if (auto bound = form_.bind(main_window().id, c->id, event, offset); !bound) note(bound.error());
}

void AppBuild::on_window(int32_t event, const RoutineBody& body, uint32_t argument_count) {
    uint32_t offset = emit("main window event " + std::to_string(event), body, argument_count);
    if (auto bound = form_.bind(main_window().id, main_window().element_id, event, offset); !bound)
        note(bound.error());
}

void AppBuild::on_menu(std::string_view caption, const RoutineBody& body) {
    for (const MenuItem& item : menu_items()) {
        if (item.caption != caption) continue;
        uint32_t offset = emit(caption, body);
        if (image::Element* e = form_.element(main_window().id, item.id)) e->click_offset = offset;
        else note(Error{"menu item missing from the form", std::string(caption)});
        return;
    }
    note(Error{"no menu item with that caption", std::string(caption)});
}

Result<void> AppBuild::status() const {
    if (error_) return std::unexpected(*error_);
    for (const Control& c : controls())
        if (c.feature != Feature::None && !clicked_.contains(c.id))
            return fail("the catalogue gives this control a feature but no routine is bound to its click", std::string(c.name));
    return {};
}

}  // namespace brindle::app
