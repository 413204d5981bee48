// Palette entries and copy buttons in the compiled application, against their tables.
#include <gtest/gtest.h>

#include "app/palette_table.h"
#include "app/text_stores.h"
#include "tests/app/features/app_harness.h"

namespace brindle::app::testing {
namespace {

using Box = AppHarness::Box;

std::string expected_fragment(const PaletteEntry& entry) {
    if (entry.source == PaletteEntry::Source::Literal) return std::string(entry.text);
    const TextStore* store = find_text_store(entry.text);
    return store ? std::string(store->text) : "<no store " + std::string(entry.text) + ">";
}

TEST(Palette, EveryEntryReplacesItsBoxWithItsFragment) {
    AppHarness app;
    ASSERT_EQ(palette_entries().size(), 82u);
    const size_t live = app.live_blocks();
    for (const PaletteEntry& entry : palette_entries()) {
        SCOPED_TRACE(std::string(entry.control));
        app.set_text(entry.target, "typed by the user");
        ASSERT_TRUE(app.click(entry.control));
        EXPECT_EQ(app.text(entry.target), expected_fragment(entry));
        EXPECT_EQ(app.live_blocks(), live);
    }
    EXPECT_TRUE(app.messages().empty());
    EXPECT_TRUE(app.clipboard().empty());
}

TEST(Palette, StoreIsReadAtClickTime) {
    AppHarness app;
    app.set_text("编辑框_购物车", "changed\r\nstore");
    ASSERT_TRUE(app.click("单选框53"));
    EXPECT_EQ(app.text("编辑框_文章页面"), "changed\r\nstore");
    app.set_text("编辑框_购物车", "");
    ASSERT_TRUE(app.click("单选框52"));
    EXPECT_EQ(app.text("编辑框_文章页面"), "");
}

TEST(Palette, HeaderEntriesPointToTheCopyButtonFriendLinksDoNot) {
    AppHarness app;
    ASSERT_TRUE(app.click("单选框2"));
    EXPECT_EQ(app.text("编辑框_头尾"), "{dede:flink row='24'/}");
    EXPECT_EQ(app.text("标签1"), "输 出");

    ASSERT_TRUE(app.click("单选框_网站名称"));
    EXPECT_EQ(app.text("编辑框_头尾"), "{dede:global.cfg_webname/}");
    EXPECT_EQ(app.text("标签1"), "←点击复制");

    ASSERT_TRUE(app.click("单选框2"));
    EXPECT_EQ(app.text("编辑框_头尾"), "{dede:flink row='24'/}");
    EXPECT_EQ(app.text("标签1"), "←点击复制");

    int pointing = 0;
    for (const PaletteEntry& entry : palette_entries()) {
        AppHarness fresh;
        ASSERT_TRUE(fresh.click(entry.control));
        EXPECT_EQ(fresh.text("标签1"), entry.points_to_copy ? "←点击复制" : "输 出") << entry.control;
        pointing += entry.points_to_copy;
    }
    EXPECT_EQ(pointing, 6);
}

TEST(CopyButtons, CopyTheirBoxAndConfirm) {
    struct Case {
        std::string_view button, box;
        Box message;
    };
    const Case cases[] = {
        {"按钮_头尾复制", "编辑框_头尾", {"复制成功！", 0x40, std::nullopt}},
        {"按钮_输出复制", "编辑框_标签输出1", {"复制成功！", 0x40, std::nullopt}},
        {"按钮5", "编辑框_列表页面", {"复制成功！", 0, "复制"}},
        {"按钮2", "编辑框_文章页面", {"复制成功！", 0x40, std::nullopt}},
        {"按钮3", "编辑框_生成flash", {"复制成功！", 0x40, std::nullopt}},
    };
    ASSERT_EQ(copy_entries().size(), std::size(cases));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button));
        AppHarness app;
        const size_t live = app.live_blocks();
        app.set_text(c.box, "第一行\r\n{dede:x/} 'q'");
        ASSERT_TRUE(app.click(c.button));
        EXPECT_EQ(app.clipboard(), std::vector<std::string>{"第一行\r\n{dede:x/} 'q'"});
        EXPECT_EQ(app.messages(), std::vector<Box>{c.message});
        EXPECT_EQ(app.text(c.box), "第一行\r\n{dede:x/} 'q'");

        // An empty box still copies (the empty text) and still confirms.
        app.set_text(c.box, "");
        ASSERT_TRUE(app.click(c.button));
        EXPECT_EQ(app.clipboard(), (std::vector<std::string>{"第一行\r\n{dede:x/} 'q'", ""}));
        EXPECT_EQ(app.messages(), (std::vector<Box>{c.message, c.message}));
        EXPECT_EQ(app.live_blocks(), live);
    }
}

}  // namespace
}  // namespace brindle::app::testing
