#include "runtime/program_start.h"

#include "common/try.h"
#include "runtime/kernel.h"

namespace brindle::runtime {

namespace {

Result<void> run_opened(const Result<image::Image>& image, const UiFactory& make_ui) {
    if (!image) return fail("the program image is malformed: " + image.error().describe());
    auto parts = program_parts(*image);
    if (!parts) return fail("the program image is malformed: " + parts.error().describe());
    std::unique_ptr<Ui> ui = make_ui(*image);
    if (!ui) return fail("no user interface is available");
    BRINDLE_TRY(auto kernel, Kernel::create(*ui));
    if (auto r = kernel->load(*parts); !r) return fail("the program image cannot be loaded: " + r.error().describe());
    return kernel->run();
}

}  // namespace

Result<void> run_program_image(const uint8_t* image_address, const UiFactory& make_ui) {
    return run_opened(image::open_image_at(image_address), make_ui);
}

Result<void> run_program_image(ByteView image, const UiFactory& make_ui) {
    return run_opened(image::open_image(image), make_ui);
}

}  // namespace brindle::runtime
