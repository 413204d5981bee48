#include "runtime/headless/recording_ui.h"

#include "common/hex.h"
#include "image/kernel_abi.h"

namespace brindle::headless {

Result<void> RecordingUi::create_window(uint32_t window_id) {
    log.push_back("create " + hex_id(window_id));
    created_windows.push_back(window_id);
    if (auto it = creation_events.find(window_id); it != creation_events.end()) post(it->second);
    return {};
}

Result<PropertyValue> RecordingUi::read_property(uint32_t window_id, uint32_t element_id, uint32_t property) {
    log.push_back("read " + hex_id(window_id) + " " + hex_id(element_id) + " " + std::to_string(property));
    auto it = properties.find({window_id, element_id, property});
    if (it != properties.end()) return it->second;
    // A never-filled property: the empty text for texts, 0 for everything else.
    if (property == abi::property::kText) return PropertyValue(std::string());
    return PropertyValue(0);
}

Result<void> RecordingUi::write_property(uint32_t window_id, uint32_t element_id, uint32_t property,
                                         const PropertyValue& value) {
    log.push_back("write " + hex_id(window_id) + " " + hex_id(element_id) + " " + std::to_string(property));
    properties[{window_id, element_id, property}] = value;
    if (on_write) on_write({window_id, element_id, property}, value);
    return {};
}

int32_t RecordingUi::message_box(std::string_view text, int32_t style, std::optional<std::string_view> title) {
    log.push_back("message box");
    MessageBox box{std::string(text), style, title ? std::optional<std::string>(std::string(*title)) : std::nullopt};
    message_boxes.push_back(box);
    return on_message_box ? on_message_box(box) : 1;
}

void RecordingUi::set_clipboard_text(std::string_view text) {
    log.push_back("clipboard");
    clipboard.emplace_back(text);
}

void RecordingUi::place_tray_icon(uint32_t window_id, ByteView icon_file, std::string_view tooltip) {
    log.push_back("tray " + hex_id(window_id));
    tray_icons.push_back({window_id, Bytes(icon_file.begin(), icon_file.end()), std::string(tooltip)});
}

void RecordingUi::pop_up_menu(uint32_t window_id, uint32_t menu_id) {
    log.push_back("menu " + hex_id(window_id) + " " + hex_id(menu_id));
    menus.emplace_back(window_id, menu_id);
}

void RecordingUi::close_window(uint32_t window_id) {
    log.push_back("close " + hex_id(window_id));
    closed_windows.push_back(window_id);
}

void RecordingUi::open_web_address(std::string_view address) {
    log.push_back("browse");
    web_addresses.emplace_back(address);
}

void RecordingUi::run_event_loop() {
    log.push_back("loop");
    for (size_t i = 0; i < scripted_events.size() && !quit_; ++i) post(scripted_events[i]);
}

void RecordingUi::clear_records() {
    log.clear();
    created_windows.clear();
    closed_windows.clear();
    message_boxes.clear();
    clipboard.clear();
    tray_icons.clear();
    menus.clear();
    web_addresses.clear();
    faults.clear();
}

void RecordingUi::report_fault(std::string_view message) {
    log.push_back("fault");
    faults.emplace_back(message);
}

}  // namespace brindle::headless
