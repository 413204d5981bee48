// Fuzz target for the program image: any bytes either open as an image or give an error; opened
// images are walked through every view the kernel uses and both of the inspector's listings, and an
// image laid out as a writer lays it out is written back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "common/hex.h"
#include "image/image_reader.h"
#include "image/image_writer.h"
#include "image/inspect/dump.h"
#include "image/layout.h"

namespace {

using namespace brindle;
using namespace brindle::image;

[[noreturn]] void fault(const std::string& what) {
    std::fprintf(stderr, "image round trip: %s\n", what.c_str());
    std::abort();
}

// The image ends with the reference lists; what follows is not the image's. The lists' size may be
// stated 4 bytes short, and a writer always states it in full.
Bytes as_a_writer_lays_it_out(const Image& image) {
    const Section& lists = *image.reference_lists_section();
    Bytes bytes(image.bytes.begin(), image.bytes.begin() + lists.data_offset + image.reference_lists_size);
    store_u32le(bytes.data() + lists.header_offset + layout::section::kMemorySize, image.reference_lists_size);
    store_u32le(bytes.data() + lists.header_offset + layout::section::kStoredSize, image.reference_lists_size);
    return bytes;
}

void check_round_trip(const Image& image) {
    auto parts = image_parts(image);
    if (!parts) return;  // not laid out as a writer would: nothing to compare
    auto written = write_image(*parts);
    if (!written) fault("the parts of an opened image are refused: " + written.error().describe());
    const Bytes expected = as_a_writer_lays_it_out(image);
    if (*written == expected) return;
    size_t at = 0;
    while (at < written->size() && at < expected.size() && (*written)[at] == expected[at]) ++at;
    fault("written " + hex(written->size()) + " bytes, read " + hex(expected.size()) + "; first difference at " +
          hex(at));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto image = open_image(ByteView(data, size));
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
    check_round_trip(*image);
    std::ostringstream listing, json;
    brindle::inspect::print_listing(*image, listing);
    brindle::inspect::print_json(*image, json);
    return 0;
}
