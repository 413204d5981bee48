// The list-page builder, the channel navigation builder and the clear button.
#include <gtest/gtest.h>

#include "app/catalogue.h"
#include "tests/app/features/app_harness.h"

namespace brindle::app::testing {
namespace {

using Box = AppHarness::Box;

std::string list_block(const std::string& open) {
    return open + "\r\n\r\n<a href='[field:arcurl/]'>[field:title/]</a>\r\n\r\n{/dede:list}";
}

std::string click_for(AppHarness& app, std::string_view button, std::string_view output) {
    const size_t live = app.live_blocks();
    EXPECT_TRUE(app.click(button));
    EXPECT_EQ(app.live_blocks(), live);
    return app.text(output);
}

TEST(ListPageBuilder, QuotedValuesAndDoubledTitleLength) {
    AppHarness app;
    ASSERT_TRUE(app.click("单选框3"));  // a snippet in the same box is replaced
    EXPECT_EQ(click_for(app, "按钮4", "编辑框_列表页面"), list_block("{dede:list row='20' pagesize='20' titlelen='30'}"));

    app.set_text("编辑框_列表条数", " 8 ");
    app.set_text("编辑框_分页大小", "");
    app.set_text("编辑框_列表标题字数", "12.5");
    EXPECT_EQ(click_for(app, "按钮4", "编辑框_列表页面"), list_block("{dede:list row=' 8 ' pagesize='' titlelen='25'}"));

    app.set_text("编辑框_列表标题字数", "0.3");
    EXPECT_EQ(click_for(app, "按钮4", "编辑框_列表页面"), list_block("{dede:list row=' 8 ' pagesize='' titlelen='0.6'}"));

    app.set_text("编辑框_列表条数", "");
    app.set_text("编辑框_分页大小", "ab'c");
    app.set_text("编辑框_列表标题字数", "");
    EXPECT_EQ(click_for(app, "按钮4", "编辑框_列表页面"), list_block("{dede:list row='' pagesize='ab'c' titlelen='0'}"));
    EXPECT_TRUE(app.messages().empty());
}

const std::string kNavigationTail =
    "}\r\n\r\n<a href='[field:typelink/]'>[field:typename/]</a> \r\n\r\n\r\n\r\n{/dede:channel}";
const Box kMixedUp{"搞混了！上级栏目和本级栏目请不要一次出现，只能填一个空。", 0x30, "导航栏目调用野心太大，失败"};

TEST(NavigationBuilder, PiecesInTagOrder) {
    struct Case {
        std::string id, parent, rows;
        int32_t type;
        std::string head;
    };
    const Case cases[] = {
        {"", "", "", -1, "{dede:channel"},
        {"", "", "", 0, "{dede:channel type='top'"},
        {"5", "", "10", 1, "{dede:channel type='self' typeid ='5' row ='10'"},
        {"", "3", "", 2, "{dede:channel type='son' typeid ='3'"},
        {"", "3", "", 3, "{dede:channel typeid ='3'"},
        {"  ", "", "x'y", -1, "{dede:channel typeid ='  ' row ='x'y'"},
    };
    for (const Case& c : cases) {
        AppHarness app;
        app.set_text("编辑框_导航栏目ID", c.id);
        app.set_text("编辑框_导航上级栏目", c.parent);
        app.set_text("编辑框_导航栏目数", c.rows);
        app.select("组合框_导航属性", c.type);
        EXPECT_EQ(click_for(app, "按钮_生成导航", "编辑框_标签输出1"), c.head + kNavigationTail) << c.head;
        EXPECT_TRUE(app.messages().empty());
    }
}

TEST(NavigationBuilder, ChannelAndParentTogetherAreRefused) {
    AppHarness app;
    app.set_text("编辑框_导航栏目ID", "5");
    ASSERT_TRUE(app.click("按钮_生成导航"));
    const std::string previous = app.text("编辑框_标签输出1");
    EXPECT_EQ(previous, "{dede:channel type='top' typeid ='5'" + kNavigationTail);

    app.set_text("编辑框_导航上级栏目", "3");
    app.set_text("编辑框_导航栏目数", "10");
    app.select("组合框_导航属性", 2);
    EXPECT_EQ(click_for(app, "按钮_生成导航", "编辑框_标签输出1"), previous);
    EXPECT_EQ(app.messages(), std::vector<Box>{kMixedUp});
}

constexpr std::string_view kClearedTexts[] = {"编辑框_栏目ID", "编辑框_标题字数", "编辑框_调用条数",
                                              "编辑框_摘要字数", "编辑框_图片高",  "编辑框_图片宽",
                                              "编辑框_列数",     "编辑框_天数",    "编辑框_关键词",
                                              "编辑框_标签输出1"};
constexpr std::string_view kResetCombos[] = {"组合框_文章属性", "组合框_内容频道", "组合框_排列方式", "组合框_时间样式"};

TEST(ClearButton, EmptiesTheFormInOrderAndLeavesTheRest) {
    AppHarness app;
    for (std::string_view box : kClearedTexts) app.set_text(box, "filled");
    for (std::string_view combo : kResetCombos) app.select(combo, 3);
    app.select("组合框_导航属性", 2);
    app.set_text("编辑框_导航栏目ID", "9");
    app.set_text("编辑框_头尾", "head");
    app.set_text("编辑框_带图片", "template");
    app.check("单选框_4", true);

    app.ui.log.clear();
    const size_t live = app.live_blocks();
    ASSERT_TRUE(app.click("按钮_清空"));
    EXPECT_EQ(app.live_blocks(), live);

    std::vector<std::string> writes;
    for (const std::string& line : app.ui.log)
        if (line.starts_with("write ")) writes.push_back(line);
    const std::string_view order[] = {"编辑框_栏目ID",   "组合框_文章属性", "组合框_内容频道", "组合框_排列方式",
                                      "编辑框_标题字数", "编辑框_调用条数", "编辑框_摘要字数", "编辑框_图片高",
                                      "编辑框_图片宽",   "组合框_时间样式", "编辑框_列数",     "编辑框_天数",
                                      "编辑框_关键词",   "编辑框_标签输出1"};
    ASSERT_EQ(writes.size(), std::size(order));
    for (size_t i = 0; i < writes.size(); ++i) {
        char expected[64];
        const bool combo = order[i].starts_with("组合框");
        std::snprintf(expected, sizeof expected, "write 0x%08X 0x%08X %d", main_window().id, find_control(order[i])->id,
                      combo ? 19 : 8);
        EXPECT_EQ(writes[i], expected) << order[i];
    }
    for (std::string_view box : kClearedTexts) EXPECT_EQ(app.text(box), "") << box;
    for (std::string_view combo : kResetCombos) EXPECT_EQ(app.selection(combo), 0) << combo;

    EXPECT_EQ(app.selection("组合框_导航属性"), 2);
    EXPECT_EQ(app.text("编辑框_导航栏目ID"), "9");
    EXPECT_EQ(app.text("编辑框_头尾"), "head");
    EXPECT_EQ(app.text("编辑框_带图片"), "template");
    EXPECT_EQ(app.checked("单选框_4"), 1);
    EXPECT_EQ(app.checked("单选框_2"), 1);

    // A second click changes nothing further.
    auto before = app.ui.properties;
    ASSERT_TRUE(app.click("按钮_清空"));
    EXPECT_EQ(app.ui.properties, before);
    EXPECT_TRUE(app.messages().empty());
}

}  // namespace
}  // namespace brindle::app::testing
