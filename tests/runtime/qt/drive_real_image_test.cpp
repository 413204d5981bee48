// The tool's own image through brindle-drive: the window, tray and menu routines as a user meets them.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRect>

#include <cstdio>
#include <sstream>

#include "app/catalogue.h"
#include "app/contact_texts.h"

namespace brindle::runtime::qt::testing {
namespace {

struct DriveResult {
    std::string out, err;
    int status = -1;
};

DriveResult drive_tool(const std::string& input) {
    QProcess process;
    process.start(QStringLiteral(BRINDLE_DRIVE_PATH), {QStringLiteral(BRINDLE_IMAGE_PATH)});
    EXPECT_TRUE(process.waitForStarted());
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString(),
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1};
}

TEST(DriveToolImageTest, HidingShowingTheTrayAndClosing) {
    DriveResult run = drive_tool(
        "tray-icon\n"
        "visible\n"
        "set 编辑框_栏目ID \"27\"\n"
        "set 编辑框_标签输出1 \"第一行\\r\\n第二行\"\n"
        "click 按钮1\n"
        "visible\n"
        "tray 0\n"
        "tray 2\n"
        "tray 4\n"
        "visible\n"
        "tray 3\n"
        "visible\n"
        "tray 1\n"
        "visible\n"
        "get 编辑框_栏目ID\n"
        "get 编辑框_标签输出1\n"
        "menu 隐藏\n"
        "visible\n"
        "menu 显示\n"
        "visible\n"
        "click 超级按钮2\n"
        "opened\n"
        "messages\n"
        "live-blocks\n"
        "menu 关闭\n"
        "visible\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "{\"tooltip\": \"Brindle\", \"images\": 20}\n"
                       "true\n"
                       "false\n"
                       "false\n"  // codes 0, 2 and 4 change nothing
                       "false\n"  // code 3 only pops the menu up
                       "true\n"
                       "\"27\"\n"
                       "\"第一行\\r\\n第二行\"\n"
                       "false\n"
                       "true\n"
                       "[\"" + std::string(app::contact::kForumAddress) + "\"]\n"
                       "[]\n"
                       "0\n"
                       "ended\n");
    EXPECT_EQ(run.status, 0);
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Seen {
    QRect rect;
    bool shown = false;
};

Seen seen_geometry(const std::string& line) {
    int x = 0, y = 0, w = 0, h = 0;
    char shown[6] = {};
    EXPECT_EQ(std::sscanf(line.c_str(), "{\"x\":%d,\"y\":%d,\"w\":%d,\"h\":%d,\"shown\":%5[a-z]}", &x, &y, &w, &h, shown), 5)
        << line;
    return {QRect(x, y, w, h), std::string(shown) == "true"};
}

// Where the catalogue puts a control in the window: the tab control's corner (strip included), plus
// each containing group box's corner.
QRect catalogue_place(const app::Control& c) {
    const app::Control* tab = app::find_control("选择夹1");
    QRect place(c.rect.left, c.rect.top, c.rect.width, c.rect.height);
    for (const app::Control* up = &c; !up->parent.empty();) {
        up = app::find_control(up->parent);
        place.translate(up->rect.left, up->rect.top);
    }
    return c.page < 0 ? place : place.translated(tab->rect.left, tab->rect.top);
}

// Page by page: every control at its catalogue place, the visible ones shown whole inside the tab
// control, the other pages' hidden; Tab never reaches a text store and does reach the output boxes.
TEST(DriveToolImageTest, PagesShowEveryControlAtItsCataloguePlace) {
    std::string input = "window\ngeometry 选择夹1\ngeometry 按钮1\n";
    std::vector<std::vector<const app::Control*>> asked(app::kPageCount);
    for (int page = 0; page < app::kPageCount; ++page) {
        input += "page " + std::to_string(page) + "\n";
        for (const app::Control& c : app::controls())
            if (c.page == page) {
                asked[page].push_back(&c);
                input += "geometry " + std::string(c.name) + "\n";
            }
        input += "focus-chain\ngeometry 按钮5\n";  // 按钮5 lies on page 1
    }
    DriveResult run = drive_tool(input);
    EXPECT_EQ(run.err, "");
    auto lines = lines_of(run.out);
    size_t at = 0;
    auto next = [&]() -> std::string { return at < lines.size() ? lines[at++] : std::string(); };
    EXPECT_NE(next().find("\"resizable\":false}"), std::string::npos);
    EXPECT_EQ(next(), "{\"x\":0,\"y\":4,\"w\":624,\"h\":524,\"shown\":true}");
    EXPECT_EQ(next(), "{\"x\":520,\"y\":480,\"w\":90,\"h\":29,\"shown\":true}");
    const QRect tab(0, 4, 624, 524);
    for (int page = 0; page < app::kPageCount; ++page) {
        for (const app::Control* c : asked[page]) {
            Seen seen = seen_geometry(next());
            EXPECT_EQ(seen.rect, catalogue_place(*c)) << c->name;
            EXPECT_EQ(seen.shown, c->visible) << c->name;
            if (c->visible) {
                EXPECT_TRUE(tab.contains(seen.rect)) << c->name;
            }
        }
        std::string chain = next();
        for (const app::Control* c : asked[page]) {
            bool listed = chain.find("\"" + std::string(c->name) + "\"") != std::string::npos;
            if (c->text_store()) {
                EXPECT_FALSE(listed) << c->name << " takes focus";
            }
            if (c->kind == app::ControlKind::EditBox && c->shape != app::EditShape::Input && !c->text_store()) {
                EXPECT_TRUE(listed) << c->name << " is not reached by Tab";
            }
        }
        EXPECT_EQ(seen_geometry(next()).shown, page == 1);
    }
    EXPECT_EQ(at, lines.size());
    EXPECT_EQ(run.status, 0);
}

// Pages are built when first needed, in any order: a text set on a page never shown is there when the
// page is shown, and what Tab visits on each page does not depend on the order the pages came in.
TEST(DriveToolImageTest, PagesBuiltInAnyOrderKeepTextsAndTabOrder) {
    auto chains = [](const std::vector<int>& pages, const std::string& before, const std::string& after) {
        std::string input = before;
        for (int page : pages) input += "page " + std::to_string(page) + "\nfocus-chain\n";
        DriveResult run = drive_tool(input + after);
        EXPECT_EQ(run.err, "");
        return lines_of(run.out);
    };
    const app::Control* field = nullptr;
    for (const app::Control& c : app::controls())
        if (!field && c.page == 4 && c.kind == app::ControlKind::EditBox && c.shape == app::EditShape::Input) field = &c;
    ASSERT_NE(field, nullptr);
    const std::string name(field->name);

    auto forward = chains({0, 1, 2, 3, 4, 5, 6}, "", "");
    auto backward = chains({6, 5, 4, 3, 2, 1, 0}, "set " + name + " \"写在未显示的页\"\n", "get " + name + "\n");
    ASSERT_EQ(forward.size(), 7u);
    ASSERT_EQ(backward.size(), 8u);
    for (size_t page = 0; page < 7; ++page) EXPECT_EQ(backward[6 - page], forward[page]) << "page " << page;
    EXPECT_EQ(backward[7], "\"写在未显示的页\"");
}

// Pages 0 and 6 are read top to bottom and left to right, a group box whole where it is reached and
// after the controls on its left; the links are on the way.
TEST(DriveToolImageTest, TabFollowsReadingOrderOnTheContactPages) {
    DriveResult run = drive_tool("page 0\nfocus-chain\npage 6\nfocus-chain\n");
    EXPECT_EQ(run.err, "");
    auto chains = lines_of(run.out);
    ASSERT_EQ(chains.size(), 2u);
    // The top-right contact box lies in the tab strip's row; the group 导航栏目生成 stands beside the
    // radio rows, 交流 beside the contact box, the forum button and link.
    EXPECT_EQ(chains[0],
              "[\"选择夹1\", \"编辑框8\", \"单选框_网站名称\", \"单选框_站点默认关键字\", \"单选框_网站版权\", \"单选框2\", \"单选框_网站地址\", \"单选框_站点描述\", \"单选框_网站备案号\", \"按钮_头尾复制\", \"编辑框_头尾\", \"编辑框_导航栏目ID\", \"编辑框_导航上级栏目\", \"编辑框_导航栏目数\", \"组合框_导航属性\", \"按钮_生成导航\", \"单选框_1\", \"单选框_2\", \"单选框_3\", \"单选框_4\", \""
              "单选框_5\", \"编辑框_栏目ID\", \"组合框_文章属性\", \"组合框_内容频道\", \"组合框_排列方式\", \"编辑框_标题字数\", \"编辑框_调用条数\", \"编辑框_摘要字数\", \"编辑框_图片高\", \"编辑框_图片宽\", \"组合框_时间样式\", \"编辑框_列数\", \"编辑框_天数\", \"编辑框_关键词\", \"编辑框_标签输出1\", \"超级链接框2\", \"编辑框7\", \"生成_标签\", \"按钮_输出复制\", \"按钮_清空\", \"按钮1\"]");
    EXPECT_EQ(chains[1], "[\"选择夹1\", \"编辑框9\", \"超级按钮2\", \"超级链接框1\", \"编辑框1\", \"编辑框6\", \"编辑框2\", \"编辑框3\", \"编辑框4\", \"按钮1\"]");
}

// Ctrl+Tab seven times goes round every page back to page 0, focus on each page's first control;
// Ctrl+PgUp goes back. Enter on a focused 生成 builds as a click does.
TEST(DriveToolImageTest, PageKeysAndEnterFromTheKeyboard) {
    std::string input = "focus\n";
    for (int turn = 0; turn < 7; ++turn) input += "key Ctrl+Tab\nfocus\n";
    input += "key Ctrl+PgUp\nfocus\nkey Ctrl+PgDown\nfocus 生成_标签\nkey Return\nget 编辑框_标签输出1\nclick 生成_标签\n"
             "get 编辑框_标签输出1\nwindow\n";
    DriveResult run = drive_tool(input);
    EXPECT_EQ(run.err, "");
    auto lines = lines_of(run.out);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "{\"control\": null, \"page\": -1}");
    const std::vector<std::string> firsts = {
        "{\"control\": \"编辑框8\", \"page\": 0}",
        "{\"control\": \"编辑框_列表条数\", \"page\": 1}",
        "{\"control\": \"单选框6\", \"page\": 2}",
        "{\"control\": \"编辑框_宽\", \"page\": 3}",
        "{\"control\": \"编辑框_频道类型ID\", \"page\": 4}",
        "{\"control\": \"单选框_内容统计\", \"page\": 5}",
        "{\"control\": \"编辑框9\", \"page\": 6}"};
    for (int turn = 0; turn < 7; ++turn) EXPECT_EQ(lines[1 + turn], firsts[(turn + 1) % 7]) << "turn " << turn;
    EXPECT_EQ(lines[8], firsts[6]);
    EXPECT_NE(lines[9], "\"\"");
    EXPECT_EQ(lines[9], lines[10]);
    int w = 0, h = 0;
    ASSERT_EQ(std::sscanf(lines[11].c_str(), "{\"w\":%d,\"h\":%d,", &w, &h), 2) << lines[11];
    EXPECT_GE(w, 624);  // the tab control's extent, whatever the frame
    EXPECT_GE(h, 528);
}

// Qt's own context menus speak Chinese; the output boxes add 全部复制.
TEST(DriveToolImageTest, ContextMenusAreChinese) {
    DriveResult run = drive_tool("context-menu 编辑框_标签输出1\ncontext-menu 编辑框_栏目ID\n");
    EXPECT_EQ(run.err, "");
    auto lines = lines_of(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "[\"撤销(&U)\\tCtrl+Z\", \"重做(&R)\\tCtrl+Y\", \"-\", \"剪切(&T)\\tCtrl+X\", \"复制(&C)\\tCtrl+C\", \"全部复制\", \"粘贴(&P)\\tCtrl+V\", \"删除\", \"-\", \"全选\\tCtrl+A\"]");
    EXPECT_EQ(lines[1].substr(0, 12), "[\"撤销(&U)");  // a single-line box: Qt's menu alone
}

// Nothing pasted is cut: 100 KB and 10 MB in single-line boxes, and the 100 KB keyword in the built tag.
TEST(DriveToolImageTest, LongPastesSurviveWhole) {
    std::string hundred_kb(100 * 1024, 'k');
    std::string ten_mb;
    while (ten_mb.size() < 10 * 1024 * 1024) ten_mb += "键";
    DriveResult run = drive_tool("set 编辑框_关键词 \"" + hundred_kb + "\"\nclick 生成_标签\nget 编辑框_标签输出1\n" +
                                 "set 编辑框_栏目ID \"" + ten_mb + "\"\nget 编辑框_栏目ID\n");
    EXPECT_EQ(run.err, "");
    auto lines = lines_of(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("keyword='" + hundred_kb + "'"), std::string::npos);
    EXPECT_EQ(lines[1], "\"" + ten_mb + "\"");
}

}  // namespace
}  // namespace brindle::runtime::qt::testing
