#include "runtime/program_start.h"

#include "common/gbk.h"
#include "runtime/kernel.h"

namespace brindle::runtime {

Result<void> run_program_image(const uint8_t* image_address, const UiFactory& make_ui) {
    // Every text the program shows or reads passes through these converters.
    if (auto r = check_text_conversion(); !r) return fail("texts cannot be converted: " + r.error().message);
    auto image = image::open_image_at(image_address);
    if (!image) return fail("the program image is malformed: " + image.error().describe());
    auto parts = program_parts(*image);
    if (!parts) return fail("the program image is malformed: " + parts.error().describe());
    std::unique_ptr<Ui> ui = make_ui(*image);
    if (!ui) return fail("no user interface is available");
    auto kernel = Kernel::create(*ui);
    if (!kernel) return std::unexpected(kernel.error());
    if (auto r = (*kernel)->load(*parts); !r) return fail("the program image cannot be loaded: " + r.error().describe());
    return (*kernel)->run();
}

}  // namespace brindle::runtime
