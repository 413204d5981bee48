// The custom-field list builder and the slideshow builder in the compiled application.
#include <gtest/gtest.h>

#include "app/text_stores.h"
#include "tests/app/features/app_harness.h"

namespace brindle::app::testing {
namespace {

using Box = AppHarness::Box;

const Box kNoChannelType{"请到 内容模型管理 查看该频道的ID ", 0x10, "频道类型ID(channelid)没有填"};

std::string calls(const std::string& tag_line, const std::array<std::string, 5>& fields) {
    std::string out = tag_line;
    for (size_t n = 0; n < fields.size(); ++n) {
        out += "\r\n\r\n";
        if (!fields[n].empty()) out += "字段名" + std::to_string(n + 1) + " 调用：  [field:" + fields[n] + " /]";
    }
    return out + "\r\n\r\n{/dede:arclist}";
}

std::string build(AppHarness& app, const std::array<std::string, 5>& fields) {
    for (size_t n = 0; n < fields.size(); ++n) app.set_text("编辑框_字段名" + std::to_string(n + 1), fields[n]);
    const size_t live = app.live_blocks();
    EXPECT_TRUE(app.click("按钮_自定义生成"));
    EXPECT_EQ(app.live_blocks(), live);
    return app.text("编辑框_自定义字段");
}

TEST(CustomFieldBuilder, WorkedExample) {
    AppHarness app;
    app.set_text("编辑框_频道类型ID", "17");
    EXPECT_EQ(build(app, {"a", "b", "", "", ""}),
              "{dede:arclist addfields='a,b,' row='10' channelid='17' orderby='pubdate'}\r\n\r\n"
              "字段名1 调用：  [field:a /]\r\n\r\n字段名2 调用：  [field:b /]"
              "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n{/dede:arclist}");
    EXPECT_TRUE(app.messages().empty());

    app.set_text("编辑框_自定义栏目", "5");
    EXPECT_EQ(build(app, {"a", "b", "", "", ""}),
              calls("{dede:arclist addfields='a,b,' row='10' channelid='17' orderby='pubdate' typeid='5'}",
                    {"a", "b", "", "", ""}));
}

TEST(CustomFieldBuilder, FieldListShowsGapsAndPartialFills) {
    struct Case {
        std::array<std::string, 5> fields;
        std::string list;
    };
    const Case cases[] = {
        {{"a", "b", "c", "d", "e"}, "a,b,c,d,e"}, {{"a", "b", "", "", ""}, "a,b,"},
        {{"a", "b", "c", "", ""}, "a,b,c,"},      {{"", "b", "", "", ""}, ",b,"},
        {{"a", "", "", "", "e"}, "ae"},           {{"", "", "", "", ""}, ""},
        {{" x ", "", "", "", ""}, " x "},
    };
    for (const Case& c : cases) {
        AppHarness app;
        app.set_text("编辑框_频道类型ID", "17");
        EXPECT_EQ(build(app, c.fields),
                  calls("{dede:arclist addfields='" + c.list + "' row='10' channelid='17' orderby='pubdate'}", c.fields))
            << c.list;
    }
}

TEST(CustomFieldBuilder, OrderItemsAndNoSelection) {
    const std::pair<int32_t, std::string> cases[] = {
        {0, " orderby='pubdate'"}, {1, " orderway='desc'"}, {2, " orderway='asc'"}, {-1, ""}, {3, ""}};
    for (const auto& [item, piece] : cases) {
        AppHarness app;
        app.set_text("编辑框_频道类型ID", "17");
        app.select("组合框_自定义字段排序", item);
        EXPECT_EQ(build(app, {"a", "", "", "", ""}),
                  calls("{dede:arclist addfields='a' row='10' channelid='17'" + piece + "}", {"a", "", "", "", ""}))
            << item;
    }
}

TEST(CustomFieldBuilder, EmptyChannelTypeIsReportedAndTheTagStillBuilt) {
    AppHarness app;
    app.set_text("编辑框_自定义条数", "");
    app.set_text("编辑框_自定义栏目", "x'y");
    EXPECT_EQ(build(app, {"", "", "", "", ""}),
              calls("{dede:arclist addfields='' row='' channelid='' orderby='pubdate' typeid='x'y'}", {}));
    EXPECT_EQ(app.messages(), std::vector<Box>{kNoChannelType});
}

TEST(CustomFieldBuilder, OrderComboHasANoOpRoutine) {
    AppHarness app;
    app.set_text("编辑框_自定义字段", "kept");
    const size_t live = app.live_blocks();
    ASSERT_TRUE(app.fire("组合框_自定义字段排序", 0));
    EXPECT_EQ(app.text("编辑框_自定义字段"), "kept");
    EXPECT_EQ(app.live_blocks(), live);
    EXPECT_TRUE(app.messages().empty());
}

std::string store(std::string_view name) {
    const TextStore* s = find_text_store(name);
    return s ? std::string(s->text) : "<missing store>";
}

TEST(SlideshowBuilder, JoinsStoresAndTypedValues) {
    AppHarness app;
    const size_t live = app.live_blocks();
    ASSERT_TRUE(app.click("按钮_flash"));
    const std::string initial = store("编辑框_flash宽") + "280" + store("编辑框_flash高") + "192" +
                                store("编辑框_flash属性前") + "flag='f' row='5" + store("编辑框_flash结束");
    EXPECT_EQ(app.text("编辑框_生成flash"), initial);
    EXPECT_NE(initial.find("{dede:arclist flag='f' row='5'}"), std::string::npos);
    EXPECT_EQ(app.live_blocks(), live);

    app.set_text("编辑框_宽", " 300px");
    app.set_text("编辑框_高", "");
    app.set_text("编辑框_flash数目", "");
    ASSERT_TRUE(app.click("按钮_flash"));
    EXPECT_EQ(app.text("编辑框_生成flash"), store("编辑框_flash宽") + " 300px" + store("编辑框_flash高") +
                                                 store("编辑框_flash属性前") + "flag='f' row='" +
                                                 store("编辑框_flash结束"));
    EXPECT_TRUE(app.messages().empty());
}

}  // namespace
}  // namespace brindle::app::testing
