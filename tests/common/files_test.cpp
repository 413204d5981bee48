// The one way every tool reads a named file and writes a whole one.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/input_file.h"
#include "common/output_file.h"
#include "common/utf8.h"

namespace brindle {
namespace {

namespace fs = std::filesystem;

struct Scratch {
    fs::path path = fs::temp_directory_path() / ("brindle-files-" + std::to_string(::getpid()));
    Scratch() { fs::create_directories(path); }
    ~Scratch() { fs::remove_all(path); }
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

size_t entries(const fs::path& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(InputFile, OnlyRegularFilesOfBoundedSizeAreRead) {
    Scratch s;
    ASSERT_EQ(::mkfifo((s.path / "fifo").c_str(), 0600), 0);  // no writer: an open that waited would hang here
    for (const std::string& path : {(s.path / "fifo").string(), std::string("/dev/zero"), std::string("/dev/null")}) {
        auto read = read_input_file(path);
        ASSERT_FALSE(read.has_value()) << path;
        EXPECT_EQ(read.error().describe(), path + ": not a regular file");
    }
    EXPECT_EQ(read_input_file(s.path.string()).error().describe(), s.path.string() + ": Is a directory");

    std::ofstream(s.path / "small") << "12345";
    EXPECT_EQ(read_input_file((s.path / "small").string(), 5)->size(), 5u);
    EXPECT_FALSE(read_input_file((s.path / "small").string(), 4).has_value());
    fs::resize_file(s.path / "small", kMaxInputFileSize + 1);  // sparse: costs no disk
    EXPECT_EQ(read_input_file((s.path / "small").string()).error().message, "larger than 256 MB, the most a tool reads");
    EXPECT_FALSE(read_input_file("/proc/self/mem").has_value());  // a read error, not an abort
}

TEST(OutputFile, ReplacesWholeOrLeavesTheOldFile) {
    Scratch s;
    const fs::path target = s.path / "out.txt";
    std::ofstream(s.path / "victim") << "keep me";
    fs::create_symlink(s.path / "victim", target);
    ASSERT_TRUE(write_file_atomically(target.string(), ByteView(reinterpret_cast<const uint8_t*>("new"), 3)).has_value());
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(slurp(target), "new");
    EXPECT_EQ(slurp(s.path / "victim"), "keep me");
    mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_EQ(fs::status(target).permissions(), static_cast<fs::perms>(0666 & ~mask));
    ASSERT_TRUE(write_file_atomically(target.string(), {}, 0750).has_value());
    EXPECT_EQ(fs::status(target).permissions(), static_cast<fs::perms>(0750));

    // A disk that fills up mid-write (here a file-size limit): an error, the old file as it was, no
    // temporary file left behind.
    std::ofstream(target, std::ios::trunc) << "old";
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string big(4096, 'x');
    auto written = write_file_atomically(target.string(), ByteView(reinterpret_cast<const uint8_t*>(big.data()), big.size()));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);
    ASSERT_FALSE(written.has_value());
    EXPECT_EQ(written.error().describe(), target.string() + ": File too large");
    EXPECT_EQ(slurp(target), "old");
    EXPECT_EQ(entries(s.path), 2u);
    EXPECT_FALSE(write_file_atomically((s.path / "no/such/dir/f").string(), {}).has_value());
}

TEST(Utf8, TerminalTextHasNoControlBytesAndKeepsTheRest) {
    EXPECT_EQ(terminal_safe("a\x1b]0;t\x07z\x1b[2J"), "a\\x1b]0;t\\x07z\\x1b[2J");
    EXPECT_EQ(terminal_safe("x\ny\rz\t\x7f"), "x\\ny\\rz\\t\\x7f");
    EXPECT_EQ(terminal_safe("\xc2\x9b" "31m \xc2\x80 \xc2\xa0"), "\\u009b31m \\u0080 \xc2\xa0");  // C1 only
    EXPECT_EQ(terminal_safe("lat\xe9.htm 网站 \xf0\x9f\x98\x80"), "lat\\xe9.htm 网站 \xf0\x9f\x98\x80");
    EXPECT_EQ(terminal_safe(std::string_view("\0", 1)), "\\x00");
    EXPECT_EQ(valid_utf8("lat\xe9 \xed\xa0\x80 \xe7\xbd"), "lat\xef\xbf\xbd \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd \xef\xbf\xbd\xef\xbf\xbd");
    EXPECT_EQ(valid_utf8("网站"), "网站");
}

}  // namespace
}  // namespace brindle
