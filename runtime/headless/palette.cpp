#include "runtime/headless/palette.h"

#include <map>

#include "common/gbk.h"
#include "common/try.h"
#include "image/kernel_abi.h"
#include "runtime/headless/form_runner.h"

namespace brindle::headless {
namespace {

namespace kind = abi::kind;

// The caption of the group box a control sits in; empty when it sits elsewhere.
std::string group_caption(const image::FormWindow& window, uint32_t element_id) {
    const image::Element* e = window.find(element_id);
    return e && e->kind == kind::kGroupBox ? gbk_to_utf8(e->properties.caption) : std::string();
}

// The caption of each tab page, by page number, for the window's first tab control.
std::vector<std::string> page_captions(const image::FormWindow& window) {
    for (const image::Element& e : window.elements)
        if (e.kind == kind::kTabControl) {
            std::vector<std::string> out;
            for (const std::string& item : e.properties.items) out.push_back(gbk_to_utf8(item));
            return out;
        }
    return {};
}

}  // namespace

Result<std::vector<Fragment>> read_palette(ByteView image_bytes) {
    BRINDLE_TRY(auto runner, FormRunner::open(image_bytes));
    const image::FormModel& form = runner->form();

    std::vector<Fragment> out;
    for (const image::FormWindow& window : form.windows) {
        const std::map<uint32_t, uint32_t> pages = window.pages();
        const std::vector<std::string> page_names = page_captions(window);
        for (const image::Element& e : window.elements) {
            if (e.kind != kind::kRadioBox || !form.find_routine(window.id, e.id, abi::event::kPrincipal)) continue;
            // Each entry sees the form as it starts, never another entry's effects.
            runner->reset();
            BRINDLE_TRY(auto writes, runner->click(window, e));
            // A palette entry writes one box; a radio box that writes none is not one.
            if (writes.empty()) continue;
            for (const auto& w : writes)
                if (w.box != writes.front().box)
                    return fail("the click routine of " + gbk_to_utf8(e.name) + " writes more than one box");

            Fragment f;
            f.control = gbk_to_utf8(e.name);
            f.caption = gbk_to_utf8(e.properties.caption);
            f.group = group_caption(window, e.parent_id);
            if (auto page = pages.find(e.id); page != pages.end() && page->second < page_names.size())
                f.page = page_names[page->second];
            f.text = writes.back().text;
            out.push_back(std::move(f));
        }
    }
    if (out.empty()) return fail("the image has no palette: no radio box writes a fragment");
    return out;
}

}  // namespace brindle::headless
