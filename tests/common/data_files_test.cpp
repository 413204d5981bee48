#include "common/data_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

using namespace brindle;
namespace fs = std::filesystem;

namespace {

struct Tree {
    fs::path root = fs::temp_directory_path() / ("brindle-data-files-" + std::to_string(getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Tree() { fs::create_directories(root / "bin"); }
    ~Tree() { fs::remove_all(root); }
    void touch(const fs::path& relative) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "x";
    }
};

}  // namespace

TEST(DataFiles, BesideTheToolWinsOverTheInstalledOne) {
    Tree t;
    t.touch("bin/brindle.img");
    t.touch("share/brindle/brindle.img");
    EXPECT_EQ(data_file_path(t.root / "bin", "brindle.img"), t.root / "bin" / "brindle.img");
}

TEST(DataFiles, FindsTheInstalledFileFromBin) {
    Tree t;
    t.touch("share/brindle/brindle.img");
    EXPECT_EQ(data_file_path(t.root / "bin", "brindle.img"), t.root / "share" / "brindle" / "brindle.img");
    // A folder of that name beside the tool is not the file.
    fs::create_directories(t.root / "bin" / "brindle.img");
    EXPECT_EQ(data_file_path(t.root / "bin", "brindle.img"), t.root / "share" / "brindle" / "brindle.img");
}

TEST(DataFiles, NamesThePathBesideTheToolWhenNeitherExists) {
    Tree t;
    EXPECT_EQ(data_file_path(t.root / "bin", "brindle.img"), t.root / "bin" / "brindle.img");
}
