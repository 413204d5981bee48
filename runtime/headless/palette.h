#pragma once
// The palette as the program image has it: every radio box whose click routine writes one fragment
// into an edit box. The routines run in the kernel against the form's initial state, so a store's
// fragment is whatever that store holds and a rebuilt image gives rebuilt fragments.
#include <string>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"

namespace brindle::headless {

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

}  // namespace brindle::headless
