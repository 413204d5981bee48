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
