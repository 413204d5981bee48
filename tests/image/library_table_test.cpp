#include "image/library_table.h"

#include <gtest/gtest.h>

using namespace brindle;
using namespace brindle::image;

namespace {
const std::vector<LibraryRecord> kFour = {
    {"rtcore", "0123456789abcdef0123456789abcdef", "4", "6", "\xBA\xCB\xD0\xC4"},
    {"uikit2", "0123456789ABCDEF0123456789ABCDEF", "1", "2", "ui"},
    {"osbridge", "0123456789ABCDEF0123456789AbCDEF", "1", "1", "os"},
    {"webpane", "FEDCBA9876543210FEDCBA9876543210", "1", "1", "web"},
};
}

TEST(ImageLibraryTable, FourRecordsThenTheEndRecordKeepEveryFieldAsWritten) {
    ByteWriter w;
    w.zeros(0x58);
    ASSERT_TRUE(write_library_table(w, kFour));
    const Bytes& bytes = w.bytes();
    const std::string first = "rtcore\r0123456789abcdef0123456789abcdef\r4\r6\r\xBA\xCB\xD0\xC4";
    EXPECT_EQ(std::string(bytes.begin() + 0x58, bytes.begin() + 0x58 + first.size()), first);
    EXPECT_EQ(bytes[0x58 + first.size()], 0);
    EXPECT_EQ(bytes[bytes.size() - 1], 0);
    EXPECT_EQ(bytes[bytes.size() - 2], 0);  // the last record's NUL, then the end record

    auto table = read_library_table(bytes, 0x58, static_cast<uint32_t>(bytes.size()));
    ASSERT_TRUE(table) << table.error().describe();
    EXPECT_EQ(table->records, kFour);  // the mixed-case identifier included
    EXPECT_EQ(table->end_offset, bytes.size());
}

TEST(ImageLibraryTable, KernelRecordAloneIsWellFormed) {
    ByteWriter w;
    ASSERT_TRUE(write_library_table(w, {kFour[0]}));
    auto table = read_library_table(w.bytes(), 0, static_cast<uint32_t>(w.size()));
    ASSERT_TRUE(table);
    ASSERT_EQ(table->records.size(), 1u);
    EXPECT_EQ(table->records[0].name, "rtcore");
}

TEST(ImageLibraryTable, WriterRefusesRecordsThatWouldNotReadBack) {
    ByteWriter w;
    LibraryRecord split = kFour[1];
    split.description = "two\rfields";
    EXPECT_EQ(write_library_table(w, {split}).error().field, "library record");
    LibraryRecord short_id = kFour[1];
    short_id.id.pop_back();
    EXPECT_EQ(write_library_table(w, {short_id}).error().describe(),
              "library_id at 0x0: library identifier must be exactly 32 hexadecimal digits");
    LibraryRecord version = kFour[1];
    version.minor = "";
    EXPECT_EQ(write_library_table(w, {version}).error().field, "minor_version");
}
