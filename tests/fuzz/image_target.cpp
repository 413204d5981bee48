// Fuzz target for the program image: any bytes either open as an image or give an error; opened
// images are walked through every view the kernel uses and both of the inspector's listings.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "image/image_reader.h"
#include "image/image_writer.h"
#include "tools/image/dump.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brindle::image;
    auto image = open_image(brindle::ByteView(data, size));
    if (!image) return 0;
    const ConstantsView constants = image->constants();
    for (uint32_t offset = 0; offset < constants.size() && offset < 64; ++offset) {
        (void)constants.text_at(offset);
        (void)constants.bytes_at(offset);
        (void)constants.number_at(offset);
    }
    RelocatableCode code = image->prepare_code();
    (void)code.apply({0x1000, 0x2000, 0x3000, 0x4000});
    for (const FormWindow& w : image->form.windows) (void)w.pages();
    if (auto parts = image_parts(*image)) (void)write_image(*parts);
    std::ostringstream listing, json;
    brindle::inspect::print_listing(*image, listing);
    brindle::inspect::print_json(*image, json);
    return 0;
}
