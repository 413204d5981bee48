#include "image/image_reader.h"

#include <gtest/gtest.h>

#include "image/image_writer.h"
#include "image/layout.h"
#include "sample_image.h"

using namespace brindle;
using namespace brindle::image;
using namespace brindle::image::testing;

TEST(ImageReader, ReadsHeaderChainAndSectionsOfTheHandBuiltImage) {
    const Bytes bytes = hand_built_image();
    auto image = open_image(bytes);
    ASSERT_TRUE(image) << image.error().describe();
    EXPECT_EQ(image->header.image_magic, 0x4A57u);
    EXPECT_EQ(image->header.highest_serial, 0x1014Eu);
    EXPECT_EQ(image->header.unnamed_28, 1u);
    EXPECT_EQ(image->header.unnamed_2c, 3u);
    EXPECT_EQ(image->header.unnamed_54, image->header.first_section_offset);

    std::vector<std::string> names;
    for (const Section& s : image->sections) names.push_back(s.name);
    EXPECT_EQ(names, (std::vector<std::string>{"const", "form", "help", "code", "var", "@reloc1"}));
    EXPECT_EQ(image->sections.back().next_header_offset, 0xFFFFFFFFu);
    EXPECT_EQ(image->find("code"), image->code_section());
    EXPECT_EQ(image->find("nothing"), nullptr);

    const Section* var = image->var_section();
    ASSERT_NE(var, nullptr);
    EXPECT_EQ(var->memory_size, 4u);
    EXPECT_EQ(var->stored_size, 0u);
    EXPECT_EQ(var->data_offset, 0xFFFFFFFFu);
    EXPECT_TRUE(var->data.empty());
    EXPECT_EQ(var->flags, 0x13u);

    const Section* code = image->code_section();
    EXPECT_EQ(code->header_length, 56u + 4 * 6);
    EXPECT_EQ(code->data_offset, code->header_offset + code->header_length);
    EXPECT_EQ(image->entry_code_offset(), kEntry);
    EXPECT_EQ(image->code().size(), 0x30u);
    EXPECT_EQ(image->help_section()->data.size(), 52u);
}

TEST(ImageReader, OneSectionChainWithOnlyTheKernelRecord) {
    ByteWriter w;
    w.u32(0x4A57);
    w.zeros(32);
    const std::string record = "rtcore\r0123456789abcdef0123456789ABCDEF\r4\r6\rcore";
    const uint32_t first = 0x58 + uint32_t(record.size()) + 2;
    w.u32(first);
    w.u32(1), w.u32(3), w.u32(0), w.u32(0), w.u32(0);
    w.u32(0xFFFFFFFF);  // no entry: there is no code
    w.u32(first);
    for (int i = 0; i < 4; ++i) w.u32(0xFFFFFFFF);
    w.u32(first);
    w.cstring(record);
    w.u8(0);
    w.u32(56), w.u32(0xFFFFFFFF), w.u32(1);
    w.raw(std::string_view("const\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20));
    w.u32(0), w.u32(2), w.u32(2), w.u32(first + 56), w.u32(0), w.u32(0);
    w.raw(std::string_view("A\0", 2));

    auto image = open_image(w.bytes());
    ASSERT_TRUE(image) << image.error().describe();
    ASSERT_EQ(image->sections.size(), 1u);
    EXPECT_EQ(image->sections[0].name, "const");
    ASSERT_EQ(image->libraries.size(), 1u);
    EXPECT_EQ(image->libraries[0].id, "0123456789abcdef0123456789ABCDEF");
    EXPECT_EQ(*image->constants().text_at(0), "A");
    EXPECT_EQ(image->code_section(), nullptr);
    EXPECT_TRUE(image->form.windows.empty());
}

TEST(ImageReader, SectionWith260RecordsHasHeaderLength0x448) {
    ImageParts parts = hand_built_parts();
    parts.code.assign(260 * 4, 0);
    parts.relocations.clear();
    for (uint32_t i = 0; i < 260; ++i) parts.relocations.push_back({RelocKind::Const, i * 4});
    parts.reference_lists = {};
    parts.form.windows[0].elements[0].events.clear();
    parts.form.windows[0].elements[3].events.clear();
    parts.form.windows[0].elements[5].click_offset = 0;
    auto bytes = write_image(parts);
    ASSERT_TRUE(bytes) << bytes.error().describe();
    auto image = open_image(*bytes);
    ASSERT_TRUE(image) << image.error().describe();
    const Section* code = image->code_section();
    EXPECT_EQ(code->header_length, 0x448u);
    EXPECT_EQ(code->reloc_count, 260u);
    EXPECT_EQ(code->data_offset, code->header_offset + 0x448);
    EXPECT_EQ(load_u32le(bytes->data() + code->header_offset), 0x448u);
}

TEST(ImageReader, WrongMagicIsRefusedBeforeAnySectionIsRead) {
    Bytes bytes(4096, 0xFF);  // every offset points nowhere
    store_u32le(bytes.data(), 0x4A56);
    auto image = open_image(bytes);
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().describe(), "image_magic at 0x0: not a program image: magic 0x4A56, expected 0x4A57");

    EXPECT_EQ(open_image(Bytes{0x57, 0x4A}).error().describe(), "image_magic at 0x0: image is shorter than its magic");
}

TEST(ImageReader, EveryTruncationIsRefused) {
    const Bytes bytes = hand_built_image();
    for (size_t n = 0; n < bytes.size(); ++n) {
        auto image = open_image(ByteView(bytes.data(), n));
        EXPECT_FALSE(image) << "prefix of " << n << " bytes opened";
    }
}
