// The document-list builder of the home page in the compiled application.
#include <gtest/gtest.h>

#include "app/text_stores.h"
#include "tests/app/features/app_harness.h"

namespace brindle::app::testing {
namespace {

using Box = AppHarness::Box;

constexpr std::string_view kLink = "<a href='[field:arcurl/]'>[field:title/]</a>";
const Box kChooseStyle{"请选择样式。", 0, std::nullopt};
const Box kFillSummary{"记得写上摘要字数哦，不然是默认的250.", 0, std::nullopt};

std::string store(std::string_view name) {
    const TextStore* s = find_text_store(name);
    return s ? std::string(s->text) : "<missing store>";
}

std::string base_block(const std::string& open, const std::string& item) {
    return open + "\r\n\r\n" + item + "  <br/>\r\n\r\n{/dede:arclist}";
}

std::string template_block(const std::string& open, std::string_view store_name) {
    return open + "\r\n" + store(store_name) + "\r\n{/dede:arclist}";
}

void choose_style(AppHarness& app, int style) {
    for (int i = 1; i <= 5; ++i) app.check("单选框_" + std::to_string(i), i == style);
}

std::string build(AppHarness& app) {
    const size_t live = app.live_blocks();
    EXPECT_TRUE(app.click("生成_标签"));
    EXPECT_EQ(app.live_blocks(), live);
    return app.text("编辑框_标签输出1");
}

const std::string kInitialOpen = "{dede:arclist typeid=1 row=5 titlelen=20 orderby='pubdate' }";

TEST(DocumentListBuilder, InitialContentsGiveTheTitleList) {
    AppHarness app;
    app.set_text("编辑框_标签输出1", "previous output");
    EXPECT_EQ(build(app), base_block(kInitialOpen, std::string(kLink)));
    EXPECT_TRUE(app.messages().empty());
}

TEST(DocumentListBuilder, TypelinkAndDatePiecesInTheBaseBlock) {
    AppHarness app;
    choose_style(app, 1);
    app.select("组合框_时间样式", 1);
    EXPECT_EQ(build(app),
              base_block(kInitialOpen, "[field:typelink/]<a href='[field:arcurl/]'>[field:title/]</a>"
                                       "([field:pubdate function=MyDate('m-d',@me)/])"));

    const std::pair<int32_t, std::string> dates[] = {
        {0, ""},
        {1, "([field:pubdate function=MyDate('m-d',@me)/])"},
        {2, "([field:pubdate function=MyDate('y-m-d',@me)/])"},
        {3, store("编辑框_时间3")},
        {4, store("编辑框_时间4")},
        {5, store("编辑框_时间5")},
        {6, store("编辑框_时间6")},
        {7, store("编辑框_时间7")},
        {8, store("编辑框_时间8")},
        {9, ""},
        {-1, ""},
    };
    choose_style(app, 2);
    for (const auto& [item, date] : dates) {
        app.select("组合框_时间样式", item);
        EXPECT_EQ(build(app), base_block(kInitialOpen, std::string(kLink) + date)) << item;
    }
    EXPECT_EQ(store("编辑框_时间3"), "[field:pubdate function='strftime(\"%y-%m-%d %H:%M:%S\",@me)'/] ");
    EXPECT_EQ(store("编辑框_时间8"), "[field:pubdate function='strftime(\"%b %d, %Y\",@me)'/]");

    // The date store is read at click time.
    app.select("组合框_时间样式", 5);
    app.set_text("编辑框_时间5", "[date]");
    EXPECT_EQ(build(app), base_block(kInitialOpen, std::string(kLink) + "[date]"));
    EXPECT_TRUE(app.messages().empty());
}

TEST(DocumentListBuilder, LengthsAreDoubled) {
    AppHarness app;
    app.set_text("编辑框_摘要字数", "40");
    app.set_text("编辑框_标题字数", "15");
    EXPECT_EQ(build(app),
              base_block("{dede:arclist typeid=1 row=5 titlelen=30 infolen=80 orderby='pubdate' }", std::string(kLink)));
    app.set_text("编辑框_标题字数", "7.5");
    app.set_text("编辑框_摘要字数", "12.5");
    EXPECT_EQ(build(app),
              base_block("{dede:arclist typeid=1 row=5 titlelen=15 infolen=25 orderby='pubdate' }", std::string(kLink)));
    // The title length is held in single precision and printed as a double; the summary length is
    // printed from its single-precision value.
    app.set_text("编辑框_标题字数", "0.3");
    app.set_text("编辑框_摘要字数", "0.3");
    EXPECT_EQ(build(app), base_block("{dede:arclist typeid=1 row=5 titlelen=0.6000000238418579 infolen=0.6 "
                                     "orderby='pubdate' }",
                                     std::string(kLink)));
}

TEST(DocumentListBuilder, EveryOptionalPieceInItsPlace) {
    AppHarness app;
    app.select("组合框_内容频道", 1);
    app.set_text("编辑框_列数", "2");
    app.set_text("编辑框_摘要字数", "40");
    app.select("组合框_文章属性", 1);
    app.select("组合框_排列方式", 2);
    app.set_text("编辑框_图片宽", "120");
    app.set_text("编辑框_图片高", "90");
    app.set_text("编辑框_关键词", "news");
    app.set_text("编辑框_天数", "7");
    EXPECT_EQ(build(app), base_block("{dede:arclist typeid=1 row=5 channelid=1 col=2 titlelen=20 infolen=80 flag ='h' "
                                     "orderby='click' imgwidth=120 imgheight=90 keyword='news' subday=7}",
                                     std::string(kLink)));

    // Typed texts go in as typed: quotes, blanks and non-numbers included.
    app.set_text("编辑框_关键词", "it's");
    app.set_text("编辑框_图片宽", " 1 ");
    app.set_text("编辑框_列数", "two");
    app.set_text("编辑框_天数", "");
    app.set_text("编辑框_图片高", "");
    EXPECT_EQ(build(app), base_block("{dede:arclist typeid=1 row=5 channelid=1 col=two titlelen=20 infolen=80 flag ='h' "
                                     "orderby='click' imgwidth= 1  keyword='it's'}",
                                     std::string(kLink)));
}

TEST(DocumentListBuilder, ComboTables) {
    const std::pair<int32_t, std::string> flags[] = {
        {0, ""}, {1, " flag ='h'"}, {2, " flag ='c'"}, {3, " flag ='f'"}, {4, " flag ='p'"}, {5, ""}, {-1, ""}};
    const std::pair<int32_t, std::string> channels[] = {
        {0, ""}, {1, " channelid=1"}, {2, " channelid=2"}, {3, " channelid=3"}, {4, ""}, {-1, ""}};
    const std::pair<int32_t, std::string> orders[] = {
        {0, " orderby='pubdate' "}, {1, " orderby='pubdate' "}, {2, " orderby='click' "},
        {3, " orderby='lastpost' "}, {4, " orderby='rand' "},   {5, ""},
        {-1, ""}};
    AppHarness app;
    app.select("组合框_排列方式", -1);
    for (const auto& [item, piece] : flags) {
        app.select("组合框_文章属性", item);
        EXPECT_EQ(build(app), base_block("{dede:arclist typeid=1 row=5 titlelen=20" + piece + "}", std::string(kLink)))
            << "flag " << item;
    }
    app.select("组合框_文章属性", 0);
    for (const auto& [item, piece] : channels) {
        app.select("组合框_内容频道", item);
        EXPECT_EQ(build(app), base_block("{dede:arclist typeid=1 row=5" + piece + " titlelen=20}", std::string(kLink)))
            << "channel " << item;
    }
    app.select("组合框_内容频道", 0);
    for (const auto& [item, piece] : orders) {
        app.select("组合框_排列方式", item);
        EXPECT_EQ(build(app), base_block("{dede:arclist typeid=1 row=5 titlelen=20" + piece + "}", std::string(kLink)))
            << "order " << item;
    }
}

TEST(DocumentListBuilder, TemplateStyles) {
    AppHarness app;
    app.set_text("编辑框_摘要字数", "30");
    app.select("组合框_时间样式", 1);  // the date piece belongs to the base block only
    const std::string open = "{dede:arclist typeid=1 row=5 titlelen=20 infolen=60 orderby='pubdate' }";
    choose_style(app, 3);
    EXPECT_EQ(build(app), template_block(open, "编辑框_带图片"));
    choose_style(app, 4);
    EXPECT_EQ(build(app), template_block(open, "编辑框_图片摘要"));
    choose_style(app, 5);
    EXPECT_EQ(build(app), template_block(open, "编辑框_带摘要"));
    EXPECT_TRUE(app.messages().empty());
    EXPECT_EQ(app.text("编辑框_摘要字数"), "30");

    // Several checked: the last tested wins.
    app.check("单选框_3", true);
    EXPECT_EQ(build(app), template_block(open, "编辑框_带摘要"));
    app.check("单选框_5", false);
    app.check("单选框_4", true);
    EXPECT_EQ(build(app), template_block(open, "编辑框_图片摘要"));
    app.check("单选框_1", true);
    app.check("单选框_4", false);
    EXPECT_EQ(build(app), template_block(open, "编辑框_带图片"));
}

TEST(DocumentListBuilder, PictureSummaryStyleFillsInAMissingSummaryLength) {
    AppHarness app;
    choose_style(app, 4);
    EXPECT_EQ(build(app), template_block(kInitialOpen, "编辑框_图片摘要"));
    EXPECT_EQ(app.messages(), std::vector<Box>{kFillSummary});
    EXPECT_EQ(app.text("编辑框_摘要字数"), "40");
    // The next click picks the written value up.
    EXPECT_EQ(build(app), template_block("{dede:arclist typeid=1 row=5 titlelen=20 infolen=80 orderby='pubdate' }",
                                         "编辑框_图片摘要"));
    EXPECT_EQ(app.messages().size(), 1u);
}

TEST(DocumentListBuilder, NoStyleIsPointedOutAndGivesTheTitleList) {
    AppHarness app;
    choose_style(app, 0);
    std::vector<std::string> seen_at_message;
    app.ui.on_message_box = [&](const headless::RecordingUi::MessageBox&) {
        seen_at_message.push_back(app.text("编辑框_标签输出1"));
        return 1;
    };
    app.set_text("编辑框_标签输出1", "before");
    EXPECT_EQ(build(app), base_block(kInitialOpen, std::string(kLink)));
    EXPECT_EQ(app.messages(), std::vector<Box>{kChooseStyle});
    EXPECT_EQ(seen_at_message, std::vector<std::string>{"before"});
}

TEST(DocumentListBuilder, ReadsTheFormBeforeAsking) {
    AppHarness app;
    choose_style(app, 0);
    app.ui.log.clear();
    ASSERT_TRUE(app.click("生成_标签"));
    // Type id, row count, title length and keyword are read before the style check's box.
    size_t box = 0, reads = 0;
    for (size_t i = 0; i < app.ui.log.size(); ++i) {
        if (app.ui.log[i] == "message box") { box = i; break; }
        if (app.ui.log[i].starts_with("read ") && app.ui.log[i].ends_with(" 8")) ++reads;
    }
    EXPECT_GT(box, 0u);
    EXPECT_EQ(reads, 4u);
}

TEST(DocumentListBuilder, AfterClearingTheEmptyNumbersConvert) {
    AppHarness app;
    ASSERT_TRUE(app.click("按钮_清空"));
    EXPECT_EQ(build(app), base_block("{dede:arclist typeid=0 row=0 titlelen=0 orderby='pubdate' }", std::string(kLink)));
    app.set_text("编辑框_栏目ID", "12abc");
    app.set_text("编辑框_调用条数", "x");
    EXPECT_EQ(build(app), base_block("{dede:arclist typeid=12 row=0 titlelen=0 orderby='pubdate' }", std::string(kLink)));
}

}  // namespace
}  // namespace brindle::app::testing
