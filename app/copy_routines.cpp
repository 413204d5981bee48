// The copy buttons: an output box's text to the clipboard, then a confirmation.
#include "app/features.h"
#include "app/palette_table.h"
#include "app/texts.h"

namespace brindle::app {

void add_copy_routines(AppBuild& app) {
    for (const CopyEntry& entry : copy_entries()) {
        const auto box = app.control(entry.box);
        app.on(entry.control, [&entry, box](Routine& r) {
            // A box that gives no text copies the empty text; the routine replaces null before the
            // command, and the confirmation is shown either way.
            r.set_clipboard(r.read_text(box));
            if (entry.title)
                r.message_box(kCopiedMessage, entry.style, codegen::TextArg(*entry.title));
            else
                r.message_box(kCopiedMessage, entry.style);
        });
    }
}

}  // namespace brindle::app
