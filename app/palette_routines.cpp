// The palette: each radio box of the insertion table writes its fragment as the whole text of its
// page's output box.
#include "app/features.h"
#include "app/palette_table.h"
#include "app/texts.h"

namespace brindle::app {

void add_palette_routines(AppBuild& app) {
    for (const PaletteEntry& entry : palette_entries()) {
        const auto target = app.control(entry.target);
        if (entry.source == PaletteEntry::Source::Literal) {
            const auto hint = app.control(kCopyHintLabel);
            app.on(entry.control, [&entry, target, hint](Routine& r) {
                r.write_text(target, entry.text);
                if (entry.points_to_copy) r.write_text(hint, kPointToCopy);
            });
        } else {
            // A store is read at click time: its current text is the fragment.
            const auto store = app.control(entry.text);
            app.on(entry.control, [target, store](Routine& r) { r.write_text(target, r.read_text(store)); });
        }
    }
}

}  // namespace brindle::app
