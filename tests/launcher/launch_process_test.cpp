// The launcher as a real process: payloads packed onto copies of build/brindle-launcher, then run.
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/payload_files.h"

namespace brindle::launcher {
namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

class LauncherProcess : public ::testing::Test {
protected:
    test::ScratchDir scratch;

    // Without a display, so no dialog is waited for, and without a runtime directory unless more_env
    // sets them.
    Outcome run(const std::string& exe, const std::string& tmpdir, const std::string& more_env = "",
                const std::string& args = "") {
        std::string out = scratch / "out", err = scratch / "err";
        std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR " + more_env + " TMPDIR='" + tmpdir +
                              "' '" + exe + "' " + args + " >'" + out + "' 2>'" + err + "' </dev/null";
        int raw = std::system(command.c_str());
        Bytes o = test::read_file(out), e = test::read_file(err);
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, std::string(o.begin(), o.end()), std::string(e.begin(), e.end())};
    }

    std::string pack(const std::string& dir, const std::string& kernel) {
        std::string out = scratch / (dir + ".exe");
        EXPECT_TRUE(test::write_packed(out, LAUNCHER_EXE, {test::file_from_disk("rtcore.rlb", kernel)}, dir));
        return out;
    }
};

TEST_F(LauncherProcess, EmittedProgramRunsInTheRealKernel) {
    std::string exe = scratch / "closing.exe";
    ASSERT_TRUE(test::write_packed(exe, CLOSING_LAUNCHER_EXE, {test::file_from_disk("rtcore.rlb", REAL_KERNEL)}));
    // The window closes itself when created, so the event loop returns and the program ends. Qt's own
    // warnings (the offscreen platform cannot fix a window's size) are muted: only ours must be absent.
    Outcome o = run(exe, scratch.path(),
                    "QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='default.warning=false' XDG_RUNTIME_DIR='" + scratch.path() + "'");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.status, 0);
}

TEST_F(LauncherProcess, ExitStatusAndMessage) {
    Outcome ran = run(pack("Ok", WORKING_KERNEL), scratch.path());
    // The embedded image, and its size: the kernel is told where it ends.
    EXPECT_EQ(ran.out, "test kernel started: 57 4A 00 00, " + std::to_string(std::filesystem::file_size(IMAGE_FILE)) + " bytes\n");
    EXPECT_EQ(ran.err, "");
    EXPECT_EQ(ran.status, 0);

    Outcome refused = run(pack("Refused", REFUSING_KERNEL), scratch.path());
    EXPECT_EQ(refused.err, "Error: The interface of kernel library is invalid!\n");
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.status, 1);

    Outcome bare = run(LAUNCHER_EXE, scratch.path());  // no payload at all
    EXPECT_EQ(bare.err, "Error: Invalid data in the file!\n");
    EXPECT_EQ(bare.status, 1);

    Outcome failed = run(pack("Failing", FAILING_KERNEL), scratch.path());  // the kernel cannot run the image
    EXPECT_EQ(failed.err, "test kernel: cannot run this image\n");
    EXPECT_EQ(failed.status, 1);
}

TEST_F(LauncherProcess, HelpAndVersionUnpackNothing) {
    std::string exe = pack("Unpacked", WORKING_KERNEL);
    std::string tmp = scratch / "tmp";
    std::filesystem::create_directory(tmp);
    Outcome version = run(exe, tmp, "", "--version");
    EXPECT_EQ(version.out, "brindle " BRINDLE_VERSION "\n");
    EXPECT_EQ(version.status, 0);
    Outcome help = run(exe, tmp, "", "--help");
    EXPECT_TRUE(help.out.starts_with("Usage: brindle")) << help.out;
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(std::filesystem::is_empty(tmp));
    Outcome other = run(exe, tmp, "", "--verbose file.txt");  // other arguments are ignored: it runs
    EXPECT_EQ(other.status, 0) << other.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(tmp + "/Unpacked/rtcore.rlb"));
}

// Started from a desktop menu nobody reads stderr: with a display, a dialog shows the message too.
TEST_F(LauncherProcess, FailureMessagesReachTheDesktop) {
    std::string bin = scratch / "bin", calls = scratch / "calls";
    std::filesystem::create_directory(bin);
    // A dialog tool that records how it was called and ends with the given status.
    auto fake_tool = [&](const std::string& name, int status) {
        std::string path = bin + "/" + name;
        std::ofstream(path) << "#!/bin/sh\nprintf '" << name << "' >>'" << calls << "'\nfor a in \"$@\"; do printf ' [%s]' \"$a\" >>'"
                            << calls << "'; done\necho >>'" << calls << "'\nexit " << status << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    };
    auto recorded = [&] {
        Bytes b = test::read_file(calls);
        std::filesystem::remove(calls);
        return std::string(b.begin(), b.end());
    };
    const std::string env = "PATH='" + bin + ":/usr/bin:/bin' DISPLAY=:97";
    fake_tool("zenity", 0);
    Outcome shown = run(LAUNCHER_EXE, scratch.path(), env);
    EXPECT_EQ(shown.err, "Error: Invalid data in the file!\n");  // stderr always
    EXPECT_EQ(shown.status, 1);
    EXPECT_EQ(recorded(), "zenity [--error] [--title=Error] [--no-markup] [--text=Invalid data in the file!]\n");

    // A tool that cannot reach the display fails: the next one is tried. The reason goes on line two.
    fake_tool("zenity", 1);
    fake_tool("kdialog", 0);
    Outcome second = run(pack("Open", WORKING_KERNEL), scratch / "missing", env);
    const std::string detail = scratch / "missing/Open" + ": No such file or directory";
    EXPECT_EQ(second.err, "Error: Can't use the extraction directory!\n" + detail + "\n");
    EXPECT_EQ(recorded(), "zenity [--error] [--title=Error] [--no-markup] [--text=Can't use the extraction directory!\n" + detail +
                              "]\nkdialog [--title] [Error] [--error] [Can't use the extraction directory!\n" + detail + "]\n");
    fake_tool("kdialog", 1);
    fake_tool("xmessage", 0);
    run(LAUNCHER_EXE, scratch.path(), env);
    EXPECT_EQ(recorded(),
              "zenity [--error] [--title=Error] [--no-markup] [--text=Invalid data in the file!]\n"
              "kdialog [--title] [Error] [--error] [Invalid data in the file!]\n"
              "xmessage [-center] [-title] [Error] [-buttons] [OK:0] [-default] [OK] [Invalid data in the file!]\n");

    // Without a display no dialog could be answered: none is started.
    Outcome headless = run(LAUNCHER_EXE, scratch.path(), "PATH='" + bin + ":/usr/bin:/bin'");
    EXPECT_EQ(headless.err, "Error: Invalid data in the file!\n");
    EXPECT_FALSE(std::filesystem::exists(calls));
}

TEST_F(LauncherProcess, EmptyTmpdirMeansSlashTmp) {
    std::string dir = "brindle-test-" + std::to_string(::getpid());
    Outcome o = run(pack(dir, WORKING_KERNEL), "");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(std::filesystem::is_regular_file("/tmp/" + dir + "/rtcore.rlb"));
    std::filesystem::remove_all("/tmp/" + dir);
}

}  // namespace
}  // namespace brindle::launcher
