#pragma once
// The palette as the program image has it: every radio box whose click routine writes one fragment
// into an edit box. The routines run in the kernel against the form's initial state, so a store's
// fragment is whatever that store holds and a rebuilt image gives rebuilt fragments.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"

namespace brindle::snippets {

struct Fragment {
    // UTF-8 throughout.
    std::string control;  // the radio box's name
    std::string caption;  // its caption, as the window shows it
    std::string group;    // the caption of the group box it sits in; may be empty
    std::string page;     // the caption of its tab page; may be empty
    std::string text;     // what the click writes, line breaks as the image holds them (CR LF)
};

// Entries in the form's element order.
Result<std::vector<Fragment>> read_palette(ByteView image_bytes);

// An image loaded into the kernel with a headless form that starts as the form section describes it.
// Controls are named in UTF-8. The bytes must outlive the runner.
class FormRunner {
public:
    static Result<std::unique_ptr<FormRunner>> open(ByteView image_bytes);
    ~FormRunner();

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

    struct Impl;

private:
    friend Result<std::vector<Fragment>> read_palette(ByteView image_bytes);
    explicit FormRunner(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace brindle::snippets
