#include "app/palette_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/text_stores.h"
#include "app/texts.h"
#include "common/gbk.h"
#include "image/kernel_abi.h"

using namespace brindle;
using namespace brindle::app;
using Source = PaletteEntry::Source;
namespace style = brindle::abi::style;

namespace {

const PaletteEntry& entry(std::string_view control) {
    for (const auto& e : palette_entries())
        if (e.control == control) return e;
    ADD_FAILURE() << "no palette entry " << control;
    static const PaletteEntry none{};
    return none;
}

std::vector<std::string_view> controls_writing(Source source, std::string_view text) {
    std::vector<std::string_view> out;
    for (const auto& e : palette_entries())
        if (e.source == source && e.text == text) out.push_back(e.control);
    return out;
}

}  // namespace

TEST(PaletteTable, EveryRadioBoxOnceWithItsOutputBox) {
    const auto& entries = palette_entries();
    ASSERT_EQ(entries.size(), 82u);
    std::set<std::string_view> controls;
    std::map<std::string_view, int> per_target;
    for (const auto& e : entries) {
        EXPECT_TRUE(controls.insert(e.control).second) << "duplicate " << e.control;
        ++per_target[e.target];
    }
    EXPECT_EQ(per_target, (std::map<std::string_view, int>{{"编辑框_头尾", 7},
                                                           {"编辑框_软件常用", 4},
                                                           {"编辑框_商品常用", 4},
                                                           {"编辑框_列表页面", 7},
                                                           {"编辑框_文章页面", 47},
                                                           {"编辑框_SQL", 13}}));
    EXPECT_EQ(entries.front().control, "单选框_网站名称");
    EXPECT_EQ(entries.back().control, "单选框_内容统计7");
}

TEST(PaletteTable, StoresExistAndLiteralsAreOneGbkLine) {
    int stores = 0;
    for (const auto& e : palette_entries()) {
        SCOPED_TRACE(std::string(e.control));
        ASSERT_FALSE(e.text.empty());
        if (e.source == Source::Store) {
            ++stores;
            EXPECT_NE(find_text_store(e.text), nullptr) << e.text;
        } else {
            EXPECT_TRUE(utf8_to_gbk(e.text));
            EXPECT_EQ(e.text.find_first_of("\r\n"), e.text.npos);
        }
    }
    EXPECT_EQ(stores, 33);
}

TEST(PaletteTable, OnlyTheSixSiteFieldsPointToTheCopyButton) {
    std::vector<std::pair<std::string_view, std::string_view>> pointing;
    for (const auto& e : palette_entries())
        if (e.points_to_copy) pointing.emplace_back(e.control, e.text);
    EXPECT_EQ(pointing, (std::vector<std::pair<std::string_view, std::string_view>>{
                            {"单选框_网站名称", "{dede:global.cfg_webname/}"},
                            {"单选框_站点默认关键字", "{dede:global.cfg_keywords/}"},
                            {"单选框_网站版权", "{dede:global.cfg_powerby/}"},
                            {"单选框_网站地址", "{dede:global.cfg_cmsurl/}"},
                            {"单选框_站点描述", "{dede:global.cfg_description/}"},
                            {"单选框_网站备案号", "{dede:global.cfg_beian/}"},
                        }));
    // 友情链接 shares the box but leaves the label alone.
    const auto& links = entry("单选框2");
    EXPECT_EQ(links.target, "编辑框_头尾");
    EXPECT_EQ(links.text, "{dede:flink row='24'/}");
    EXPECT_FALSE(links.points_to_copy);
    EXPECT_EQ(kCopyHintLabel, "标签1");
    EXPECT_EQ(*utf8_to_gbk(kPointToCopy), "\xA1\xFB\xB5\xE3\xBB\xF7\xB8\xB4\xD6\xC6");
}

TEST(PaletteTable, SharedFragmentsAndNearTwins) {
    EXPECT_EQ(controls_writing(Source::Store, "编辑框_购物车"),
              (std::vector<std::string_view>{"单选框52", "单选框53"}));
    EXPECT_EQ(controls_writing(Source::Store, "编辑框_发布时间"),
              (std::vector<std::string_view>{"单选框7", "单选框34", "单选框42"}));
    EXPECT_EQ(controls_writing(Source::Store, "编辑框_上传日期"),
              (std::vector<std::string_view>{"单选框_上传日期", "单选框_上传日期7"}));
    EXPECT_EQ(controls_writing(Source::Literal, "[field:click/]"),
              (std::vector<std::string_view>{"单选框_上传日期3", "单选框_上传日期4"}));
    EXPECT_EQ(controls_writing(Source::Literal, "{dede:field name='image'/}"),
              (std::vector<std::string_view>{"单选框31", "单选框44"}));
    // One blank apart, two different fragments.
    EXPECT_EQ(controls_writing(Source::Literal, "{dede:field.body/}"),
              (std::vector<std::string_view>{"单选框12"}));
    EXPECT_EQ(controls_writing(Source::Literal, "{dede:field.body /}"),
              (std::vector<std::string_view>{"单选框45"}));
    EXPECT_EQ(entry("单选框37").text, "{dede:field.nativeplace /}");
    EXPECT_EQ(entry("单选框43").text, "{dede:field.email/}");
}

TEST(PaletteTable, QuotesInsideLiteralsAreExact) {
    EXPECT_EQ(entry("单选框4").text,
              "<img src='[field:litpic/]' alt='[field:title function='html2text(@me)'/]'/>");
    EXPECT_EQ(entry("单选框1").text,
              "<a href='{dede:field name='typeurl'/}'>{dede:field name='typename'/}</a>");
    EXPECT_EQ(entry("单选框5").text, "[field:description/]...");
    EXPECT_EQ(entry("单选框_UCenterHome会员").text, "编辑框_编辑框_UCenterHome会员");
}

TEST(CopyTable, FiveButtonsOnlyTheListPageIsPlainWithItsTitle) {
    const auto& copies = copy_entries();
    ASSERT_EQ(copies.size(), 5u);
    struct Row {
        std::string_view control, box;
        int32_t style;
        std::optional<std::string_view> title;
    };
    const Row expected[] = {
        {"按钮_头尾复制", "编辑框_头尾", style::kInformation, std::nullopt},
        {"按钮_输出复制", "编辑框_标签输出1", style::kInformation, std::nullopt},
        {"按钮5", "编辑框_列表页面", style::kPlain, "复制"},
        {"按钮2", "编辑框_文章页面", style::kInformation, std::nullopt},
        {"按钮3", "编辑框_生成flash", style::kInformation, std::nullopt},
    };
    for (size_t i = 0; i < copies.size(); ++i) {
        SCOPED_TRACE(std::string(expected[i].control));
        EXPECT_EQ(copies[i].control, expected[i].control);
        EXPECT_EQ(copies[i].box, expected[i].box);
        EXPECT_EQ(copies[i].style, expected[i].style);
        EXPECT_EQ(copies[i].title, expected[i].title);
    }
    EXPECT_EQ(*utf8_to_gbk(kCopiedMessage), "\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6\xA3\xA1");
}

TEST(PaletteTable, RowsMatchTheCataloguesControls) {
    std::set<std::string_view> palette_radios;
    for (const Control& c : controls())
        if (c.feature == Feature::InsertSnippet) palette_radios.insert(c.name);
    std::set<std::string_view> rows;
    for (const auto& e : palette_entries()) {
        SCOPED_TRACE(std::string(e.control));
        rows.insert(e.control);
        const Control* radio = find_control(e.control);
        ASSERT_NE(radio, nullptr);
        EXPECT_EQ(radio->kind, ControlKind::RadioBox);
        const Control* target = find_control(e.target);
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target->kind, ControlKind::EditBox);
        EXPECT_FALSE(target->text_store());
        EXPECT_EQ(target->page, radio->page);
    }
    EXPECT_EQ(rows, palette_radios);

    const Control* hint = find_control(kCopyHintLabel);
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->kind, ControlKind::Label);
    EXPECT_EQ(hint->text, "输 出");

    std::set<std::string_view> copy_buttons;
    for (const Control& c : controls())
        if (c.feature == Feature::Copy) copy_buttons.insert(c.name);
    std::set<std::string_view> copy_rows;
    for (const auto& e : copy_entries()) {
        copy_rows.insert(e.control);
        const Control* box = find_control(e.box);
        ASSERT_NE(box, nullptr) << e.box;
        EXPECT_EQ(box->page, find_control(e.control)->page) << e.control;
    }
    EXPECT_EQ(copy_rows, copy_buttons);
}
