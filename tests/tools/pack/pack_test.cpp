// brindle-pack: packing, listing, and refusing bad input and paths.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "tests/support/payload_files.h"
#include "tools/pack/pack_tool.h"

namespace brindle::pack {
namespace {

class PackTool : public ::testing::Test {
protected:
    test::ScratchDir scratch;
    std::string launcher = scratch / "launcher", kernel = scratch / "rtcore.rlb", out = scratch / "app";
    std::string err;

    void SetUp() override {
        test::write_file(launcher, test::noise(1200));
        ::chmod(launcher.c_str(), 0755);
        test::write_file(kernel, test::bytes_of("kernel bytes"));
    }
    // The exit status; stdout returned through listing, stderr kept in err.
    int tool(std::vector<std::string> args, std::string* listing = nullptr) {
        std::ostringstream o, e;
        int status = run(args, o, e);
        err = e.str();
        if (listing) *listing = o.str();
        return status;
    }
};

TEST_F(PackTool, PacksListsAndKeepsTheRunBit) {
    test::write_file(scratch / "other.bin", test::bytes_of("12345"));
    ASSERT_EQ(tool({"--dir", "MyDir", "--id", "abc123", "--key", "01020304", "--out", out, launcher, kernel,
                    "data.bin=" + scratch / "other.bin"}),
              0)
        << err;
    struct stat st;
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    Bytes exe = test::read_file(out), head = test::read_file(launcher);
    EXPECT_TRUE(std::equal(head.begin(), head.end(), exe.begin()));
    std::string listing;
    EXPECT_EQ(tool({"--list", out}, &listing), 0);
    EXPECT_EQ(listing, "payload id: 0x00ABC123\nkey: 01020304\ndirectory: MyDir\nrtcore.rlb 12\ndata.bin 5\n");
}

TEST_F(PackTool, DefaultIdAndKeyFollowTheContent) {
    auto pack_and_list = [&] {
        std::string listing;
        EXPECT_EQ(tool({"--out", out, launcher, kernel}), 0);
        EXPECT_EQ(tool({"--list", out}, &listing), 0);
        return listing;
    };
    std::string first = pack_and_list();
    EXPECT_EQ(first, pack_and_list());
    EXPECT_NE(first.find("\ndirectory: Q_N"), std::string::npos);
    EXPECT_NE(first.find(" (default)\n"), std::string::npos);
    test::write_file(kernel, test::bytes_of("kernel bytes, rebuilt"));
    std::string changed = pack_and_list();
    EXPECT_NE(first.substr(0, first.find('\n')), changed.substr(0, changed.find('\n')));  // a new directory
}

TEST_F(PackTool, BadInput) {
    EXPECT_EQ(tool({"--out", out, launcher, scratch / "missing"}), 2);
    EXPECT_EQ(err, "brindle-pack: " + scratch / "missing" + ": No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(tool({"--list", launcher}), 1);
    EXPECT_EQ(err, "brindle-pack: " + launcher + ": trailer_magic at 0x4AC: Invalid data in the file!\n");
    test::write_file(scratch / "tiny", test::bytes_of("#!"));
    EXPECT_EQ(tool({"--out", out, scratch / "tiny", kernel}), 1);
    EXPECT_EQ(err, "brindle-pack: the finished file would be shorter than 1008 bytes\n");
    EXPECT_EQ(tool({"--out", out, launcher, "a/b=" + kernel}), 1);
    EXPECT_EQ(err, "brindle-pack: a/b=" + kernel + ": not a plain file name: \"a/b\"\n");
    EXPECT_EQ(tool({"--out", out, launcher, "notes=" + kernel}), 0);
    EXPECT_EQ(err, "brindle-pack: warning: no file is named rtcore.rlb or rtcore.xlb; the launcher will refuse it\n");
    for (auto args : std::vector<std::vector<std::string>>{{"--key", "123", "--out", out, launcher, kernel},
                                                           {"--id", "123456789", "--out", out, launcher, kernel},
                                                           {"--dir", "../up", "--out", out, launcher, kernel},
                                                           {"--out", out, launcher},
                                                           {launcher, kernel}}) {
        EXPECT_EQ(tool(args), 2) << args[0];
        EXPECT_NE(err.find("\nusage: brindle-pack"), std::string::npos) << err;
    }
}

// A path the tool cannot use is one line and status 2, never an abort.
TEST_F(PackTool, BadPathsAreOneLineAndStatusTwo) {
    const std::string dir = scratch.path(), missing = scratch / "missing";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--list", dir}, dir + ": Is a directory"},
        {{"--list", missing}, missing + ": No such file or directory"},
        {{"--out", out, dir, kernel}, dir + ": Is a directory"},
        {{"--out", out, launcher, dir}, dir + ": Is a directory"},
        {{"--out", scratch / "no/such/dir/app", launcher, kernel},
         scratch / "no/such/dir/app" + ": No such file or directory"},
    };
    for (const auto& [args, line] : cases) {
        EXPECT_EQ(tool(args), 2) << line;
        EXPECT_EQ(err, "brindle-pack: " + line + "\n");
    }
}

}  // namespace
}  // namespace brindle::pack
