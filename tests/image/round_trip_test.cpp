#include <gtest/gtest.h>

#include <algorithm>

#include "image/image_reader.h"
#include "image/image_writer.h"
#include "sample_image.h"

using namespace brindle;
using namespace brindle::image;
using namespace brindle::image::testing;

TEST(ImageWriter, LaysOutTheHandBuiltImageByteForByte) {
    auto written = write_image(hand_built_parts());
    ASSERT_TRUE(written) << written.error().describe();
    Bytes expected = hand_built_image();
    // The hand-built image states the lists 4 bytes short; the writer states their true size.
    auto image = open_image(expected);
    ASSERT_TRUE(image);
    const uint32_t lists = image->reference_lists_section()->header_offset;
    store_u32le(expected.data() + lists + 0x24, 28);
    store_u32le(expected.data() + lists + 0x28, 28);
    EXPECT_EQ(*written, expected);
}

TEST(ImageWriter, ReadOfWriteGivesTheParts) {
    const ImageParts parts = sample_parts();
    auto bytes = write_image(parts);
    ASSERT_TRUE(bytes) << bytes.error().describe();
    auto image = open_image(*bytes);
    ASSERT_TRUE(image) << image.error().describe();
    auto read = image_parts(*image);
    ASSERT_TRUE(read) << read.error().describe();
    EXPECT_EQ(*read, parts);
    EXPECT_EQ(image->header.highest_serial, kHighest);

    // The image views its bytes: they must outlive it.
    const Bytes hand_bytes = hand_built_image();
    auto hand = open_image(hand_bytes);
    ASSERT_TRUE(hand);
    EXPECT_EQ(*image_parts(*hand), hand_built_parts());
}

TEST(ImageWriter, WriteOfReadGivesTheBytes) {
    const Bytes bytes = sample_image();
    auto image = open_image(bytes);
    ASSERT_TRUE(image);
    auto again = write_image(*image_parts(*image));
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, bytes);
}

TEST(ImageWriter, KeepsTheLayoutInvariants) {
    const Bytes bytes = sample_image();
    auto image = open_image(bytes);
    ASSERT_TRUE(image);
    const ImageHeader& h = image->header;
    EXPECT_EQ(h.first_section_offset, h.unnamed_54);
    EXPECT_EQ(h.first_section_offset, h.const_header_offset);
    const uint32_t flags[] = {1, 1, 1, 5, 0x13, 1};
    for (size_t i = 0; i < image->sections.size(); ++i) {
        const Section& s = image->sections[i];
        const uint32_t after_header = s.header_offset + s.header_length;
        EXPECT_EQ(s.flags, flags[i]) << s.name;
        if (s.stored()) {
            EXPECT_EQ(s.data_offset, after_header) << s.name;
        }
        if (i + 1 < image->sections.size()) {
            EXPECT_EQ(s.next_header_offset, after_header + s.stored_size) << s.name;
        }
    }
    EXPECT_EQ(image->sections.back().next_header_offset, 0xFFFFFFFFu);
    const Section* help = image->help_section();
    EXPECT_EQ(Bytes(help->data.begin(), help->data.end()), Bytes(52, 0));
    EXPECT_EQ(bytes.size(), image->reference_lists_section()->data_offset + image->reference_lists_size);
}

TEST(ImageWriter, RefusesPartsThatWouldNotReadBack) {
    ImageParts entry = hand_built_parts();
    entry.entry_offset = 0x30;
    EXPECT_EQ(write_image(entry).error().field, "entry_offset");

    ImageParts lists = hand_built_parts();
    lists.reference_lists[0] = {0x20, 0x16};
    EXPECT_EQ(write_image(lists).error().describe(), "reference list 1: offsets are not in ascending order");

    ImageParts operand = hand_built_parts();
    operand.var_size = 0;
    EXPECT_EQ(write_image(operand).error().describe(), "operand: variable operand 0x0 lies outside the var memory");

    ImageParts event = hand_built_parts();
    event.form.windows[0].elements[3].events[0].code_offset = 0x30;
    EXPECT_EQ(write_image(event).error().field, "code_offset");

    ImageParts library = hand_built_parts();
    library.libraries[1].major = "1.0";
    EXPECT_EQ(write_image(library).error().field, "major_version");
}

TEST(ImageWriter, TakesApartOnlyImagesItWouldLayOutTheSameWay) {
    const Bytes bytes = sample_image();
    auto image = open_image(bytes);
    ASSERT_TRUE(image);
    auto field_of = [](Bytes b) {
        auto opened = open_image(b);
        if (!opened) return "unopened: " + opened.error().describe();
        auto parts = image_parts(*opened);
        return parts ? std::string("taken apart") : parts.error().field;
    };
    Bytes serial = bytes;
    store_u32le(serial.data() + 0x34, kHighest + 1);
    EXPECT_EQ(field_of(serial), "highest_serial");
    Bytes flags = bytes;
    store_u32le(flags.data() + image->header.const_header_offset + 8, 3);
    EXPECT_EQ(field_of(flags), "flags");
    Bytes help = bytes;
    help[image->help_section()->data_offset + 5] = 1;
    EXPECT_EQ(field_of(help), "help");
    Bytes memory = bytes;
    store_u32le(memory.data() + image->header.code_header_offset + 0x24, 0x1000);
    EXPECT_EQ(field_of(memory), "memory_size");
    Bytes var_data = bytes;
    store_u32le(var_data.data() + image->header.var_header_offset + 0x2C, 0x63);
    EXPECT_EQ(field_of(var_data), "data_offset");
    // An end record in place of the second library: the rest of the table would be lost.
    Bytes table = bytes;
    table[std::find(table.begin() + 0x58, table.end(), 0) - table.begin() + 1] = 0;
    EXPECT_EQ(field_of(table), "library table");
    EXPECT_EQ(field_of(bytes), "taken apart");
}
