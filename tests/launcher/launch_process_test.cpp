// The launcher as a real process: payloads packed onto copies of build/brindle-launcher, then run.
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <sstream>

#include "tools/pack/pack_tool.h"
#include "test_support.h"

namespace brindle::launcher {
namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

class LauncherProcess : public ::testing::Test {
protected:
    test::ScratchDir scratch;

    // Without a display, so no dialog is waited for.
    Outcome run(const std::string& exe, const std::string& tmpdir, const std::string& more_env = "") {
        std::string out = scratch / "out", err = scratch / "err";
        std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + more_env + " TMPDIR='" + tmpdir + "' '" + exe + "' >'" + out +
                              "' 2>'" + err + "' </dev/null";
        int raw = std::system(command.c_str());
        Bytes o = test::read_file(out), e = test::read_file(err);
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, std::string(o.begin(), o.end()), std::string(e.begin(), e.end())};
    }

    std::string pack(const std::string& dir, const std::string& kernel) {
        std::string out = scratch / (dir + ".exe");
        std::ostringstream sink;
        EXPECT_EQ(pack::run(std::vector<std::string>{"--dir", dir, "--out", out, LAUNCHER_EXE, "rtcore.rlb=" + kernel},
                            sink, sink),
                  0)
            << sink.str();
        return out;
    }
};

TEST_F(LauncherProcess, EmittedProgramRunsInTheRealKernel) {
    std::string exe = scratch / "closing.exe";
    std::ostringstream sink;
    ASSERT_EQ(pack::run(std::vector<std::string>{"--out", exe, CLOSING_LAUNCHER_EXE, std::string("rtcore.rlb=") + REAL_KERNEL},
                        sink, sink),
              0)
        << sink.str();
    // The window closes itself when created, so the event loop returns and the program ends.
    Outcome o = run(exe, scratch.path(), "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR='" + scratch.path() + "'");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.status, 0);
}

TEST_F(LauncherProcess, ExitStatusAndMessage) {
    Outcome ran = run(pack("Ok", WORKING_KERNEL), scratch.path());
    EXPECT_EQ(ran.out, "test kernel started: 57 4A 00 00\n");  // the embedded image
    EXPECT_EQ(ran.err, "");
    EXPECT_EQ(ran.status, 0);

    Outcome refused = run(pack("Refused", REFUSING_KERNEL), scratch.path());
    EXPECT_EQ(refused.err, "Error: The interface of kernel library is invalid!\n");
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.status, 1);

    Outcome bare = run(LAUNCHER_EXE, scratch.path());  // no payload at all
    EXPECT_EQ(bare.err, "Error: Invalid data in the file!\n");
    EXPECT_EQ(bare.status, 1);
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
