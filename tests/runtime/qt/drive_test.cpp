// brindle-drive through its protocol: commands on stdin, answers on stdout, errors on stderr.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/runtime/qt/drive_image.h"

namespace brindle::runtime::qt::testing {
namespace {

struct DriveRun {
    std::string out, err;
    int status = -1;
};

class DriveTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        QFile file(dir_->filePath("drive.img"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        Bytes image = drive_test_image();
        file.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    static DriveRun drive(const std::string& input, QStringList arguments = {}) {
        if (arguments.isEmpty()) arguments << dir_->filePath("drive.img");
        QProcess process;
        process.start(QStringLiteral(BRINDLE_DRIVE_PATH), arguments);
        EXPECT_TRUE(process.waitForStarted());
        process.write(input.data(), static_cast<qint64>(input.size()));
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString(),
                process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1};
    }

    static inline QTemporaryDir* dir_ = nullptr;
};

TEST_F(DriveTest, WindowRoutinesThroughTheProtocol) {
    DriveRun run = drive(
        "tray-icon\n"
        "visible\n"
        "set 编辑框_单行 \"你好\\\"x\\\"\"\n"
        "click 按钮_写\n"
        "get 编辑框_多行\n"
        "messages\n"
        "messages\n"
        "clipboard\n"
        "live-blocks\n"
        "click 按钮1\n"
        "visible\n"
        "tray 0\n"
        "tray 2\n"
        "tray 4\n"
        "visible\n"
        "tray 1\n"
        "visible\n"
        "get 编辑框_单行\n"
        "menu 隐藏\n"
        "visible\n"
        "tray 3\n"
        "menu 显示\n"
        "visible\n"
        "click 超级按钮2\n"
        "opened\n"
        "opened\n"
        "select 组合框_方式 2\n"
        "get 组合框_方式\n"
        "select 组合框_方式 -1\n"
        "get 组合框_方式\n"
        "click 单选框_乙\n"
        "get 单选框_乙\n"
        "get 单选框_甲\n"
        "get 编辑框_单行\n"
        "set 编辑框_多行 \"a\\r\\nb\"\n"
        "get 编辑框_多行\n"
        "get 标签_红\n"
        "menu 关闭\n"
        "get 编辑框_单行\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "{\"tooltip\": \"Brindle\", \"images\": 20}\n"
              "true\n"
              "\"你好\\\"x\\\"！\"\n"
              "[{\"text\": \"已写入\", \"style\": 64, \"title\": null}]\n"
              "[]\n"
              "\"剪贴\"\n"
              "0\n"
              "false\n"
              "false\n"
              "true\n"
              "\"你好\\\"x\\\"\"\n"
              "false\n"
              "true\n"
              "[\"https://forum.example.org/bbs\"]\n"
              "[]\n"
              "2\n"
              "-1\n"
              "true\n"
              "false\n"
              "\"乙选中\"\n"
              "\"a\\r\\nb\"\n"
              "\"红字\"\n"
              "ended\n");
    EXPECT_EQ(run.status, 0);
}

TEST_F(DriveTest, ErrorsAreReportedAndTheDriverGoesOn) {
    DriveRun run = drive(
        "bogus\n"
        "get 无此控件\n"
        "set 编辑框_单行 plain\n"
        "set 标签_红 \"x\"\n"
        "click 标签_红\n"
        "select 编辑框_单行 1\n"
        "select 组合框_方式 two\n"
        "tray x\n"
        "menu 程序菜单\n"
        "get\n"
        "visible\n");
    EXPECT_EQ(run.out, "true\n");  // no "ended": the input ran out before the program ended
    EXPECT_EQ(run.err,
              "error: unknown command bogus\n"
              "error: no control is named 无此控件\n"
              "error: set 编辑框_单行: the text must be a JSON string, not plain\n"
              "error: set 标签_红: a label takes no typing\n"
              "error: click 标签_红: a label cannot be clicked\n"
              "error: select 编辑框_单行: an edit box has no selection\n"
              "error: select 组合框_方式: the selection must be a number, not two\n"
              "error: tray: the code must be a number, not x\n"
              "error: no menu item has the caption 程序菜单\n"
              "error: a control name is missing\n");
    EXPECT_EQ(run.status, 2);
}

TEST_F(DriveTest, UnreadableImagesAreRefused) {
    // A path that cannot be read: one line and status 2, as for every tool.
    DriveRun missing = drive("visible\n", {dir_->filePath("absent.img")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "error: cannot read the image " + dir_->filePath("absent.img").toStdString() + ": No such file or directory\n");
    DriveRun directory = drive("visible\n", {dir_->path()});
    EXPECT_EQ(directory.status, 2);
    EXPECT_EQ(directory.err, "error: cannot read the image " + dir_->path().toStdString() + ": Is a directory\n");

    QString junk = dir_->filePath("junk.img");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an image at all");
    file.close();
    DriveRun bad = drive("visible\n", {junk});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.starts_with("error: the image " + junk.toStdString() + " is malformed: ")) << bad.err;
}

}  // namespace
}  // namespace brindle::runtime::qt::testing
