#include <gtest/gtest.h>

#include <set>

#include "image/image_reader.h"
#include "malformed_corpus.h"

using namespace brindle;
using namespace brindle::image;
using namespace brindle::image::testing;

TEST(ImageMalformed, EachBrokenRuleIsRefusedWithItsOwnError) {
    const auto corpus = malformed_corpus();
    std::set<std::string> messages;
    for (const MalformedCase& c : corpus) {
        auto image = open_image(c.bytes);
        ASSERT_FALSE(image) << c.rule << " was accepted";
        EXPECT_EQ(image.error().field, c.field) << c.rule << ": " << image.error().describe();
        EXPECT_EQ(image.error().offset, c.offset) << c.rule << ": " << image.error().describe();
        EXPECT_TRUE(messages.insert(image.error().describe()).second) << c.rule << ": " << image.error().describe();
    }
    EXPECT_EQ(messages.size(), corpus.size());  // no two rules share an error
}

TEST(ImageMalformed, MessagesNameWhatIsWrong) {
    std::map<std::string, std::string> by_rule;
    for (const MalformedCase& c : malformed_corpus()) by_rule[c.rule] = open_image(c.bytes).error().message;
    EXPECT_EQ(by_rule["wrong magic"], "not a program image: magic 0x4A58, expected 0x4A57");
    EXPECT_EQ(by_rule["library record of four fields"], "library record has 4 fields, not 5");
    EXPECT_EQ(by_rule["relocation kind 4"], "relocation kind 4 is not 0 to 3");
    EXPECT_EQ(by_rule["service operand not an entry"], "service operand 0x34 is not an entry of the service table");
    EXPECT_EQ(by_rule["stated size of the lists"], "stored_size 0x14 matches neither the lists' size 0x1C nor 4 bytes less");
    EXPECT_EQ(by_rule["header length disagrees with the record count"], "header_length 0x38 is not 56 + 4 × reloc_count (0x6)");
    EXPECT_EQ(by_rule["blob version"], "property blob version 3 does not match the kind's version 2");
    EXPECT_EQ(by_rule["parent that is no container"],
              "parent_id 0x16010010 names no group box or tab control of this window");
}
