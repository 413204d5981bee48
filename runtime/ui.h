#pragma once
// Windows, controls and the desktop as the kernel sees them. Texts cross this interface as the image's
// bytes (GBK); an implementation that takes text from the user encodes it as GB18030 so nothing typed
// is lost. Identifiers are the form section's window and element identifiers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"

namespace brindle::runtime {

// A property value: a text (GBK bytes) or an integer (booleans and selections included).
using PropertyValue = std::variant<int32_t, std::string>;

// A user event that runs a routine: its code offset (from the form's bindings) and its arguments.
struct Event {
    uint32_t routine_offset = 0;
    std::vector<uint32_t> arguments;
    friend bool operator==(const Event&, const Event&) = default;
};

// Where the UI hands its events; the kernel queues them so routines run one at a time, in order.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void deliver(const Event& event) = 0;
};

class Ui {
public:
    virtual ~Ui() = default;

    virtual void set_event_sink(EventSink* sink) = 0;

    // Creates and shows a window; its creation event goes to the sink.
    virtual Result<void> create_window(uint32_t window_id) = 0;
    virtual Result<PropertyValue> read_property(uint32_t window_id, uint32_t element_id, uint32_t property) = 0;
    virtual Result<void> write_property(uint32_t window_id, uint32_t element_id, uint32_t property,
                                        const PropertyValue& value) = 0;

    // Blocks until the box is closed; events arriving meanwhile still go to the sink. Returns the button.
    virtual int32_t message_box(std::string_view text, int32_t style, std::optional<std::string_view> title) = 0;
    virtual void set_clipboard_text(std::string_view text) = 0;
    virtual void place_tray_icon(uint32_t window_id, ByteView icon_file, std::string_view tooltip) = 0;
    virtual void pop_up_menu(uint32_t window_id, uint32_t menu_id) = 0;
    virtual void close_window(uint32_t window_id) = 0;
    virtual void open_web_address(std::string_view address) = 0;

    // Runs until the last window closes or quit_event_loop() is called.
    virtual void run_event_loop() = 0;
    virtual void quit_event_loop() = 0;

    // A fault of the program (bad release, bad argument, processor fault): shown to the user. UTF-8.
    virtual void report_fault(std::string_view message) = 0;
};

}  // namespace brindle::runtime
