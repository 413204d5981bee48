#include "image/relocation_apply.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "image/image_reader.h"
#include "image/image_writer.h"
#include "sample_image.h"

using namespace brindle;
using namespace brindle::image;
using namespace brindle::image::testing;

namespace {
const RelocBases kBases{0x00700000, 0x00400000, 0x00600000, 0x00500000};

// Four operands: a service entry, a constant, a variable and a code offset, each holding 0x24.
Bytes four_operands() {
    ByteWriter w;
    for (int i = 0; i < 4; ++i) w.u32(0x24);
    return w.bytes();
}
const std::vector<Relocation> kFour = {
    {RelocKind::Service, 0}, {RelocKind::Const, 4}, {RelocKind::Var, 8}, {RelocKind::Code, 12}};
}  // namespace

TEST(RelocRecords, DecodeKindAndOffset) {
    ByteWriter w;
    w.u32(0x59);
    w.u32(0x2AAE8);
    auto records = read_relocations(w.bytes());
    ASSERT_TRUE(records);
    EXPECT_EQ(*records, (std::vector<Relocation>{{RelocKind::Const, 0x0B}, {RelocKind::Service, 0x555D}}));
    EXPECT_EQ((Relocation{RelocKind::Const, 0x0B}.encode()), 0x59u);
    EXPECT_EQ((Relocation{RelocKind::Service, 0x555D}.encode()), 0x2AAE8u);

    ByteWriter bad;
    bad.u32(0x10 * 8 + 5);
    EXPECT_EQ(read_relocations(bad.bytes(), 0x5A1B0).error().describe(),
              "reloc_kind at 0x5A1B0: relocation kind 5 is not 0 to 3");
}

TEST(RelocApply, TheKindAloneDecidesTheBase) {
    RelocatableCode code(four_operands(), kFour);
    ASSERT_TRUE(code.apply(kBases));
    const uint8_t* p = code.code().data();
    EXPECT_EQ(load_u32le(p + 0), 0x00700024u);  // service table entry 0x24
    EXPECT_EQ(load_u32le(p + 4), 0x00400024u);  // constant offset 0x24
    EXPECT_EQ(load_u32le(p + 8), 0x00600024u);
    EXPECT_EQ(load_u32le(p + 12), 0x00500024u);
}

TEST(RelocApply, AnyOrderGivesTheSameCode) {
    std::vector<Relocation> order = kFour;
    RelocatableCode first(four_operands(), order);
    ASSERT_TRUE(first.apply(kBases));
    std::reverse(order.begin(), order.end());
    std::rotate(order.begin(), order.begin() + 1, order.end());
    RelocatableCode second(four_operands(), order);
    ASSERT_TRUE(second.apply(kBases));
    EXPECT_EQ(first.code(), second.code());
}

TEST(RelocApply, SecondApplicationIsRefusedAndChangesNothing) {
    RelocatableCode code(four_operands(), kFour);
    ASSERT_TRUE(code.apply(kBases));
    const Bytes once = code.code();
    auto again = code.apply(kBases);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().describe(), "relocations: relocations have already been applied to this code");
    EXPECT_EQ(code.code(), once);

    RelocatableCode past_end(four_operands(), {{RelocKind::Const, 4}, {RelocKind::Const, 13}});
    EXPECT_EQ(past_end.apply(kBases).error().field, "reloc_offset");
    EXPECT_EQ(past_end.code(), four_operands());  // nothing applied
    EXPECT_FALSE(past_end.applied());
}

TEST(RelocApply, PreparedImageCodeRelocatesOnce) {
    const Bytes bytes = hand_built_image();
    auto image = open_image(bytes);
    ASSERT_TRUE(image);
    RelocatableCode code = image->prepare_code();
    ASSERT_TRUE(code.apply(kBases));
    EXPECT_EQ(load_u32le(code.code().data() + 0x06), 0x00400018u);  // the empty text
    EXPECT_EQ(load_u32le(code.code().data() + 0x2B), 0x0070000Cu);  // the thunk's table entry
    EXPECT_EQ(load_u32le(code.code().data() + 0x25), 0x00500024u);
    EXPECT_EQ(load_u32le(code.code().data() + 0x16), 0x52010001u);  // identifiers are not relocated
    EXPECT_FALSE(code.apply(kBases));
    EXPECT_EQ(load_u32le(image->code().data() + 0x06), 0x18u);  // the image's own bytes stay as stored
}

TEST(RelocReferenceLists, ReadByCountsPastTheStatedSize) {
    const Bytes bytes = hand_built_image();
    auto image = open_image(bytes);
    ASSERT_TRUE(image);
    const Section* lists = image->reference_lists_section();
    EXPECT_EQ(lists->stored_size, 24u);
    EXPECT_EQ(image->reference_lists_size, 28u);
    EXPECT_EQ(image->reference_lists,
              (ReferenceLists{{{0x16}, {}, {0x1B}, {0x20}}}));  // the last entry lies past the stated size
    EXPECT_EQ(load_u32le(bytes.data() + lists->data_offset + 8), 0u);  // the empty list: a lone count
}

TEST(RelocReferenceLists, WriterStatesTheTrueSizeAndWritesEmptyListsAsCounts) {
    ImageParts parts = hand_built_parts();
    parts.reference_lists = {};
    auto bytes = write_image(parts);
    ASSERT_TRUE(bytes);
    auto image = open_image(*bytes);
    ASSERT_TRUE(image);
    const Section* lists = image->reference_lists_section();
    EXPECT_EQ(lists->stored_size, 16u);
    EXPECT_EQ(lists->memory_size, 16u);
    EXPECT_EQ(Bytes(lists->data.begin(), lists->data.end()), Bytes(16, 0));
    EXPECT_EQ(bytes->size(), lists->data_offset + 16u);
}
