#pragma once
// A program image loaded into the kernel over a recording UI whose controls start as the form section
// describes them. Plays the user by control name (UTF-8): typing, choosing, checking and clicking,
// and tells which edit boxes a click wrote.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"
#include "image/form_model.h"
#include "image/image_reader.h"
#include "runtime/headless/recording_ui.h"
#include "runtime/kernel.h"

namespace brindle::headless {

class FormRunner {
public:
    // The bytes must outlive the runner.
    static Result<std::unique_ptr<FormRunner>> open(ByteView image_bytes);

    const image::FormModel& form() const { return image_.form; }

    // Every control back to its initial state.
    void reset();
    Result<void> set_text(std::string_view control, std::string_view utf8);
    Result<void> select(std::string_view control, int32_t item);
    Result<void> set_checked(std::string_view control, bool checked);

    struct BoxWrite {
        std::string box;   // the edit box's name
        std::string text;  // UTF-8
    };
    // Plays a click (a radio box is checked first) and returns the edit-box texts it wrote, in order.
    Result<std::vector<BoxWrite>> click(std::string_view control);
    Result<std::vector<BoxWrite>> click(const image::FormWindow& window, const image::Element& control);

private:
    struct Located {
        const image::FormWindow* window;
        const image::Element* element;
    };
    FormRunner() = default;
    Result<Located> find(std::string_view control) const;

    image::Image image_;
    std::map<RecordingUi::PropertyKey, PropertyValue> initial_;
    RecordingUi ui_;  // outlives the kernel, which holds it
    std::unique_ptr<runtime::Kernel> kernel_;
};

}  // namespace brindle::headless
