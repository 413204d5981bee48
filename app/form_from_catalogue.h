#pragma once
// Turns the catalogue into form content: the main window with its icon and caption, every control
// with its property blob, the tab pages and the pop-up menu. Routines are bound afterwards.
#include "common/bytes.h"
#include "common/result.h"
#include "image/form_writer.h"

namespace brindle::app {

// The GIF files the catalogue's picture boxes and image button show.
struct Pictures {
    Bytes layouts[5];  // the five list layouts, Layout1..Layout5
    Bytes forum_button;
};

// Adds the main window, its controls (texts as GBK) and its menu items to `form`. A text that GBK
// cannot hold, or a control whose parent is unknown, is an error naming the control.
Result<void> add_catalogue(image::FormBuilder& form, const Pictures& pictures);

}  // namespace brindle::app
