#include "app/text_stores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "app/catalogue.h"
#include "common/gbk.h"

using namespace brindle;
using namespace brindle::app;

namespace {

struct StoreFacts {
    std::string_view name;
    size_t gbk_bytes;  // the whole text in GBK, CR LF included
    size_t lines;      // CR LF count + 1: a text ending in CR LF has an empty last line
};

// Every store in window order with the size of its text. A slip in data entry (a lost blank, a
// tab typed as blanks, a missing line) shows up here first.
// clang-format off
const StoreFacts kFacts[] = {
        {"编辑框_带图片", 184, 6},
        {"编辑框_时间3", 62, 1},
        {"编辑框_带摘要", 197, 6},
        {"编辑框_时间7", 70, 1},
        {"编辑框_时间4", 58, 1},
        {"编辑框_时间5", 56, 1},
        {"编辑框_时间6", 57, 1},
        {"编辑框_时间8", 53, 1},
        {"编辑框_图片摘要", 261, 8},
        {"编辑框_上传日期", 46, 1},
        {"编辑框_分页CSS", 764, 42},
        {"编辑框_分类", 590, 29},
        {"编辑框_分页标签", 173, 5},
        {"编辑框_购物车", 701, 8},
        {"编辑框_收藏", 92, 1},
        {"编辑框_推荐", 97, 1},
        {"编辑框_挑错", 124, 1},
        {"编辑框_打印", 62, 1},
        {"编辑框_人气", 172, 1},
        {"编辑框_下载次数", 98, 1},
        {"编辑框_截止日期", 57, 1},
        {"编辑框_发布时间", 56, 1},
        {"编辑框_点击", 172, 1},
        {"编辑框_评论链接", 88, 1},
        {"编辑框_顶一下", 1187, 19},
        {"编辑框_flash属性前", 88, 6},
        {"编辑框_flash高", 18, 2},
        {"编辑框_flash宽", 117, 5},
        {"编辑框_flash结束", 1488, 23},  // with our two Flash hosts
        {"编辑框_清空文章中关键字字段", 36, 1},
        {"编辑框_内容统计", 992, 15},
        {"编辑框_推荐会员", 653, 17},  // with our forum host, three times
        {"编辑框_文章内容批量替换", 162, 2},
        {"编辑框_会员积分排行", 286, 4},
        {"编辑框_编辑框_UCenterHome会员", 306, 6},
        {"编辑框_企业及企业所属行业", 345, 4},
        {"编辑框_UCHOME最新日志", 269, 3},  // with our community host
        {"编辑框_企业最新产品", 379, 3},
        {"编辑框_推荐企业包含企业简介", 355, 8},
        {"编辑框_Discuz论坛附件带图片", 598, 4},
        {"编辑框_dz论坛最新主题", 232, 6},
        {"编辑框_会员发布的最新10条文档", 406, 9},
};
// clang-format on

size_t count_lines(std::string_view text) {
    size_t lines = 1;
    for (size_t at = text.find("\r\n"); at != text.npos; at = text.find("\r\n", at + 2)) ++lines;
    return lines;
}

}  // namespace

TEST(TextStores, EveryStoreHasItsSizeLineCountAndPlace) {
    const auto& stores = text_stores();
    ASSERT_EQ(stores.size(), std::size(kFacts));
    for (size_t i = 0; i < stores.size(); ++i) {
        SCOPED_TRACE(std::string(kFacts[i].name));
        EXPECT_EQ(stores[i].name, kFacts[i].name);
        auto gbk = utf8_to_gbk(stores[i].text);
        ASSERT_TRUE(gbk) << gbk.error().message;
        EXPECT_EQ(gbk->size(), kFacts[i].gbk_bytes);
        EXPECT_EQ(count_lines(stores[i].text), kFacts[i].lines);
    }
}

TEST(TextStores, LinesEndInCrLfOnlyAndNamesAreUnique) {
    std::set<std::string_view> names;
    for (const auto& store : text_stores()) {
        SCOPED_TRACE(std::string(store.name));
        EXPECT_TRUE(names.insert(store.name).second) << "duplicate name";
        const std::string_view t = store.text;
        for (size_t i = 0; i < t.size(); ++i) {
            if (t[i] == '\n') {
                EXPECT_TRUE(i > 0 && t[i - 1] == '\r') << "lone LF at " << i;
            }
            if (t[i] == '\r') {
                EXPECT_TRUE(i + 1 < t.size() && t[i + 1] == '\n') << "lone CR at " << i;
            }
        }
        EXPECT_EQ(t.find("(site"), t.npos) << "placeholder host left in the text";
    }
}

TEST(TextStores, FindsByExactName) {
    const TextStore* found = find_text_store("编辑框_发布时间");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->text, "{dede:field.pubdate function=\"MyDate('Y-m-d H:i',@me)\"/}");
    EXPECT_EQ(find_text_store("编辑框_发布"), nullptr);
    EXPECT_EQ(find_text_store(""), nullptr);
    // The doubled prefix is the store's real name, not a typo to be corrected.
    EXPECT_NE(find_text_store("编辑框_编辑框_UCenterHome会员"), nullptr);
    EXPECT_EQ(find_text_store("编辑框_UCenterHome会员"), nullptr);
}

TEST(TextStores, LeadingBlankTabsAndTrailingBlankAreKept) {
    EXPECT_EQ(find_text_store("编辑框_分页标签")->text,
              " <div class=\"dede_pages\">\r\n"
              "\t\t\t<ul class=\"pagelist\">\r\n"
              "             {dede:pagelist listitem=\"info,index,end,pre,next,pageno\" listsize=\"5\"/}\r\n"
              "\t\t\t</ul>\r\n"
              "\t\t</div><!-- /pages --> ");
    EXPECT_EQ(find_text_store("编辑框_时间3")->text,
              "[field:pubdate function='strftime(\"%y-%m-%d %H:%M:%S\",@me)'/] ");
}

TEST(TextStores, FinalCrLfIsKept) {
    EXPECT_EQ(find_text_store("编辑框_图片摘要")->text,
              "<table cellspacing=2 cellpadding=2 width=\"100%\" border=0>\r\n"
              "<tbody>\r\n"
              "<tr>\r\n"
              "<td align=middle width=\"30%\" rowspan=2>[field:imglink/]</td>\r\n"
              "<td width=\"70%\"><a href=\"[field:filename/]\">[field:title/]</a></td></tr>\r\n"
              "<tr>\r\n"
              "<td>[field:info/]</td></tr></tbody></table>\r\n");
    std::string_view css = find_text_store("编辑框_分页CSS")->text;
    EXPECT_TRUE(css.ends_with("\tmargin:0px 2px;\r\n}\r\n"));
}

TEST(TextStores, WebAddressesCarryOurHostsAndKeepTheirPaths) {
    EXPECT_EQ(find_text_store("编辑框_UCHOME最新日志")->text,
              "{dede:sql sql=\"Select subject,viewnum,blogid,uid From uchome_blog order by blogid desc limit 0,8\"} \r\n"
              "<li><A href=\"https://home.brindle.example/space.php?uid=[field:uid/]&do=blog&id=[field:blogid/]\">"
              "[field:subject function=\"cn_substr('@me',24)\" /]</A></li> \r\n"
              "{/dede:sql}");
    std::string_view flash = find_text_store("编辑框_flash结束")->text;
    EXPECT_NE(flash.find("codebase=\"https://download.flash.example/pub/shockwave/cabs/flash/swflash.cab#version=6,0,0,0\""),
              flash.npos);
    EXPECT_NE(flash.find("pluginspage=\"https://www.flash.example/go/getflashplayer\" />"), flash.npos);
    std::string_view members = find_text_store("编辑框_推荐会员")->text;
    EXPECT_NE(members.find("[img]https://bbs.brindle.example/attachment/upload/87/11787.gif[/img] \r\n"),
              members.npos);
}

TEST(TextStores, ChineseTextBecomesGbkBytes) {
    auto gbk = utf8_to_gbk(find_text_store("编辑框_打印")->text);
    ASSERT_TRUE(gbk);
    EXPECT_EQ(*gbk, "<a href=\"#\" target=\"_blank\" onClick=\"window.print();\">\xB4\xF2\xD3\xA1</a>");
}

TEST(TextStores, AreExactlyTheCataloguesStoreBoxes) {
    std::vector<std::string_view> in_catalogue;
    for (const Control& c : controls())
        if (c.text_store()) in_catalogue.push_back(c.name);
    std::vector<std::string_view> in_table;
    for (const TextStore& s : text_stores()) in_table.push_back(s.name);
    std::ranges::sort(in_catalogue);
    std::ranges::sort(in_table);
    EXPECT_EQ(in_table, in_catalogue);
}
