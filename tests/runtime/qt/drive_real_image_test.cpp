// The tool's own image through brindle-drive: the window, tray and menu routines as a user meets them.
#include <gtest/gtest.h>

#include <QProcess>

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

}  // namespace
}  // namespace brindle::runtime::qt::testing
