#include "runtime/program_start.h"

#include "common/gbk.h"
#include "common/try.h"
#include "runtime/kernel.h"
#include "runtime/trace.h"

namespace brindle::runtime {

Result<void> run_program_image(ByteView bytes, const UiFactory& make_ui) {
    // Every text the program shows or reads passes through these converters.
    if (auto r = check_text_conversion(); !r) return fail("texts cannot be converted: " + r.error().message);
    const auto image = image::open_image(bytes);
    if (!image) return fail("the program image is malformed: " + image.error().describe());
    auto parts = program_parts(*image);
    if (!parts) return fail("the program image is malformed: " + parts.error().describe());
    trace::phase("image opened");
    std::unique_ptr<Ui> ui = make_ui(*image);
    if (!ui) return fail("no user interface is available");
    trace::phase("ui made");
    BRINDLE_TRY(auto kernel, Kernel::create(*ui));
    if (auto r = kernel->load(*parts); !r) return fail("the program image cannot be loaded: " + r.error().describe());
    trace::phase("emulator loaded");
    return kernel->run();
}

}  // namespace brindle::runtime
