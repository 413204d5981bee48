// The launch sequence in process, over real files, directories and test kernels; only the executable's
// own path and what cannot be provoked on demand (allocation failure, no temp directory, failing reads)
// are faked.
#include <dlfcn.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "launcher/launch.h"
#include "launcher/posix_platform.h"
#include "test_support.h"

namespace brindle::launcher {
namespace {

using namespace std::literals;
using namespace test;

// The messages as the user sees them, spelled out here rather than taken from the code under test.
namespace msg {
constexpr std::string_view kCantOpenFile = "Can't open file!";
constexpr std::string_view kInvalidData = "Invalid data in the file!";
constexpr std::string_view kFailedToReadData = "Failed to read data from the file!";
constexpr std::string_view kInsufficientMemory = "Insufficient memory!";
constexpr std::string_view kFailedToReadFile = "Failed to read file or invalid data in file!";
constexpr std::string_view kNoTempDirectory = "Can't retrieve the temporary directory!";
constexpr std::string_view kDecompressFailed = "Failed to decompress data!";
constexpr std::string_view kKernelNotFound = "Not found the kernel library!";
constexpr std::string_view kKernelLoadFailed = "Failed to load kernel library!";
constexpr std::string_view kKernelInvalid = "The kernel library is invalid!";
constexpr std::string_view kKernelInterfaceInvalid = "The interface of kernel library is invalid!";
constexpr std::string_view kCantUseExtractionDir = "Can't use the extraction directory!";
constexpr std::string_view kPathTooLong = "The path is too long!";
}  // namespace msg

// The real file, except that one read of a chosen size fails or comes one byte short.
class FlakyFile : public InputFile {
public:
    FlakyFile(std::unique_ptr<InputFile> real, size_t size, bool fails) : real_(std::move(real)), size_(size), fails_(fails) {}
    std::optional<uint64_t> size() override { return real_->size(); }
    std::optional<size_t> read_at(uint64_t offset, std::span<uint8_t> out) override {
        if (out.size() != size_) return real_->read_at(offset, out);
        return fails_ ? std::nullopt : real_->read_at(offset, out.first(size_ - 1));
    }

private:
    std::unique_ptr<InputFile> real_;
    size_t size_;
    bool fails_;
};

class TestPlatform : public PosixPlatform {
public:
    std::string exe, temp;
    std::optional<size_t> refused_allocation, flaky_read;
    bool flaky_read_fails = true;
    size_t limit = PosixPlatform::path_limit();
    std::vector<std::string> messages, loaded;
    void* library = nullptr;

    std::string executable_path() override { return exe; }
    std::unique_ptr<InputFile> open_for_reading(const std::string& path) override {
        auto real = PosixPlatform::open_for_reading(path);
        if (!real || !flaky_read) return real;
        return std::make_unique<FlakyFile>(std::move(real), *flaky_read, flaky_read_fails);
    }
    std::unique_ptr<uint8_t[]> allocate(size_t size) override {
        return refused_allocation == size ? nullptr : PosixPlatform::allocate(size);
    }
    std::optional<std::string> temp_directory() override { return temp.empty() ? std::nullopt : std::optional(temp); }
    size_t path_limit() const override { return limit; }
    void* load_library(const std::string& path) override {
        loaded.push_back(path);
        return library = PosixPlatform::load_library(path);
    }
    void show_message(std::string_view message) override { messages.emplace_back(message); }
};

alignas(16) const uint8_t kImage[8] = {0x57, 0x4A, 0, 0, 1, 2, 3, 4};

PayloadFile kernel(std::string name = "rtcore.rlb") { return file_from_disk(std::move(name), WORKING_KERNEL); }

class LauncherSequence : public ::testing::Test {
protected:
    ScratchDir scratch;
    std::string tmp = scratch.path();
    TestPlatform platform;

    void SetUp() override {
        platform.exe = scratch / "app.exe";
        platform.temp = tmp + "/";
    }

    // Launches the executable: the one message shown, or "" when the kernel ran.
    std::string launch_exe(ByteView exe) {
        write_file(platform.exe, exe);
        platform.messages.clear();
        int status = launch(platform, kImage);
        EXPECT_EQ(status, platform.messages.empty() ? kExitRan : kExitFailed);
        EXPECT_LE(platform.messages.size(), 1u);
        return platform.messages.empty() ? "" : platform.messages[0];
    }
    std::string launch_block(ByteView block, size_t filler = 1000) { return launch_exe(executable_with(block, filler)); }
    std::string launch_files(const std::vector<PayloadFile>& files, std::string_view dir = "", uint32_t id = 0x1234) {
        return launch_block(block_of(body_for(list_of(files), dir), id));
    }
    Bytes extracted(const std::string& path) { return read_file(tmp + "/" + path); }
    template <class T>
    T kernel_value(const char* name) { return *static_cast<T*>(dlsym(platform.library, name)); }
};

TEST_F(LauncherSequence, RunsTheKernelWithTheImage) {
    EXPECT_EQ(launch_files({file("readme.txt", "hello"), kernel()}), "");
    EXPECT_EQ(platform.loaded, std::vector<std::string>{tmp + "/Q_N1234/rtcore.rlb"});
    EXPECT_EQ(kernel_value<int32_t>("test_kernel_version"), 1000);
    EXPECT_EQ(kernel_value<int>("test_kernel_starts"), 1);
    EXPECT_EQ(kernel_value<const void*>("test_kernel_image"), static_cast<const void*>(kImage));
    EXPECT_EQ(extracted("Q_N1234/readme.txt"), bytes_of("hello"));
    EXPECT_EQ(std::filesystem::status(tmp + "/Q_N1234").permissions(), std::filesystem::perms::owner_all);
}

TEST_F(LauncherSequence, MalformedContainers) {
    Bytes list = list_of({kernel()});
    Bytes stream = zlib_stream(list);
    auto packed = [&](uint32_t magic, uint32_t size, ByteView s) { return block_of(clear_body("", magic, size, s)); };
    Bytes good = block_of(body_for(list));
    Bytes corrupt = stream;
    corrupt[corrupt.size() - 2] ^= 0x40;  // Adler-32 no longer matches
    Bytes twenty = clear_body("", container::kPackedMagic, 5, {});  // with the header: 21 bytes
    Bytes nineteen(twenty.begin(), twenty.end() - 1);

    const std::pair<Bytes, std::string_view> cases[] = {
        {executable_with(good, 1000, {}, 0x829AB7A4), msg::kInvalidData},
        {executable_with(good, 1000, 3), msg::kInvalidData},
        {executable_with(good, 1000, 0x80000000u), msg::kInvalidData},
        {executable_with(block_of(body_for(list), 1, 0x829AB7A6)), msg::kFailedToReadFile},
        {executable_with(Bytes{0xA5, 0xB7, 0x9A, 0x82}, 996), msg::kInvalidData},  // S = 4: no room for the header
        {executable_with(block_of(bytes_of("NoNulInTheWholeBody"))), msg::kInvalidData},
        {executable_with(block_of(bytes_of("LongName\0\x0D\x0F\x3E\x03"sv))), msg::kInvalidData},  // header cut off
        {executable_with(block_of(nineteen)), msg::kInvalidData},
        {executable_with(block_of(twenty)), msg::kDecompressFailed},
        {executable_with(packed(0x033E0F0C, uint32_t(list.size()), stream)), msg::kInvalidData},
        {executable_with(packed(container::kPackedMagic, 0, stream)), msg::kInvalidData},
        {executable_with(packed(container::kPackedMagic, 0xFFFFFFF0, stream)), msg::kInvalidData},
        {executable_with(packed(container::kPackedMagic, uint32_t(list.size() - 1), stream)), msg::kDecompressFailed},
        {executable_with(packed(container::kPackedMagic, uint32_t(list.size()), corrupt)), msg::kDecompressFailed},
        {executable_with(packed(container::kPackedMagic, 1, zlib_stream({}))), msg::kKernelNotFound},  // empty list
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(launch_exe(cases[i].first), cases[i].second) << "case " << i;
    EXPECT_TRUE(platform.loaded.empty());
}

TEST_F(LauncherSequence, FileSizeAndBlockSizeLimits) {
    Bytes small = block_of(body_for(list_of({file("tiny", "t")})));
    // 1007 bytes are refused before the trailer is read; at 1008 it is read and the launch goes on.
    EXPECT_EQ(launch_block(small, 1007 - 8 - small.size()), msg::kInvalidData);
    EXPECT_EQ(launch_block(small, 1008 - 8 - small.size()), msg::kKernelNotFound);
    Bytes big = block_of(body_for(list_of({{"big", noise(1500)}})));
    EXPECT_EQ(launch_block(big, 0), msg::kInvalidData);     // S equals the trailer position
    EXPECT_EQ(launch_block(big, 1), msg::kKernelNotFound);  // one below
}

TEST_F(LauncherSequence, SystemFailures) {
    Bytes block = block_of(body_for(list_of({kernel()})));
    Bytes exe = executable_with(block);
    platform.flaky_read = 8;
    EXPECT_EQ(launch_exe(exe), msg::kFailedToReadData);
    platform.flaky_read_fails = false;
    EXPECT_EQ(launch_exe(exe), msg::kFailedToReadData);
    platform.flaky_read = block.size();
    EXPECT_EQ(launch_exe(exe), msg::kFailedToReadFile);
    platform.flaky_read_fails = true;
    EXPECT_EQ(launch_exe(exe), msg::kFailedToReadFile);
    platform.flaky_read.reset();
    platform.refused_allocation = block.size();
    EXPECT_EQ(launch_exe(exe), msg::kInsufficientMemory);
    platform.refused_allocation = list_of({kernel()}).size();
    EXPECT_EQ(launch_exe(exe), msg::kInsufficientMemory);
    platform.refused_allocation.reset();
    platform.temp.clear();
    EXPECT_EQ(launch_exe(exe), msg::kNoTempDirectory);
    platform.exe = scratch / "missing.exe";
    EXPECT_EQ(launch(platform, kImage), kExitFailed);
    EXPECT_EQ(platform.messages.back(), msg::kCantOpenFile);
}

TEST_F(LauncherSequence, KernelChoiceAndKernelFailures) {
    EXPECT_EQ(launch_files({kernel("RTCORE.RLB"), file("x", "1"), kernel("rtcore.xlb")}, "A"), "");
    EXPECT_EQ(platform.loaded.back(), tmp + "/A/rtcore.xlb");
    EXPECT_EQ(launch_files({kernel("RtCore.Rlb")}, "B"), "");
    EXPECT_EQ(platform.loaded.back(), tmp + "/B/RtCore.Rlb");
    EXPECT_EQ(launch_files({file("one", "1"), file("rtcore.dll", "2")}, "C"), msg::kKernelNotFound);
    EXPECT_EQ(extracted("C/one"), bytes_of("1"));  // every file is still written
    EXPECT_EQ(extracted("C/rtcore.dll"), bytes_of("2"));
    EXPECT_EQ(launch_files({file("rtcore.rlb", "not a library")}, "D"), msg::kKernelLoadFailed);
    EXPECT_EQ(launch_files({file_from_disk("rtcore.rlb", NO_ENTRY_KERNEL)}, "E"), msg::kKernelInvalid);
    EXPECT_EQ(launch_files({file_from_disk("rtcore.rlb", REFUSING_KERNEL)}, "F"), msg::kKernelInterfaceInvalid);
}

TEST_F(LauncherSequence, FileListWalk) {
    EXPECT_EQ(launch_files({file("empty", ""), file("twice", "first"), file("twice", "second"), kernel()}, "W"), "");
    EXPECT_EQ(extracted("W/empty"), Bytes{});
    EXPECT_TRUE(std::filesystem::exists(tmp + "/W/empty"));
    EXPECT_EQ(extracted("W/twice"), bytes_of("second"));
    // A record running past the end is refused before anything is written.
    Bytes cut = list_of({file("first", "ok"), file("rtcore.rlb", "cut")});
    cut.pop_back();
    EXPECT_EQ(launch_block(block_of(body_for(cut, "R"))), msg::kInvalidData);
    EXPECT_FALSE(std::filesystem::exists(tmp + "/R/first"));
    // A stream shorter than U: the list ends where the stream does.
    Bytes full = list_of({kernel()});
    EXPECT_EQ(launch_block(block_of(clear_body("S", container::kPackedMagic, uint32_t(full.size() + 99), zlib_stream(full)))), "");
}

TEST_F(LauncherSequence, DirectoryNames) {
    EXPECT_EQ(launch_files({kernel()}, "", 0x00ABC123), "");
    EXPECT_EQ(platform.loaded.back(), tmp + "/Q_NABC123/rtcore.rlb");
    EXPECT_EQ(launch_files({kernel()}, "", 0), "");
    EXPECT_EQ(platform.loaded.back(), tmp + "/Q_N0/rtcore.rlb");
    // An existing private directory is used as it is; its files are replaced.
    write_file(tmp + "/Q_N0/note", bytes_of("old and longer"));
    EXPECT_EQ(launch_files({file("note", "new"), kernel()}, "", 0), "");
    EXPECT_EQ(extracted("Q_N0/note"), bytes_of("new"));
}

TEST_F(LauncherSequence, NothingIsWrittenOutsideTheExtractionDirectory) {
    std::filesystem::create_directory(tmp + "/sub");
    EXPECT_EQ(launch_files({file("../escaped", "x"), file("sub/inner", "x"), file("back\\slash", "x"), file("", "x"),
                            file(".", "x"), file("..", "x"), file("kept", "k"), kernel("../rtcore.rlb")},
                           "D"),
              msg::kKernelNotFound);  // a kernel record named with a path does not count
    EXPECT_FALSE(std::filesystem::exists(tmp + "/escaped"));
    EXPECT_FALSE(std::filesystem::exists(tmp + "/rtcore.rlb"));
    EXPECT_FALSE(std::filesystem::exists(tmp + "/sub/inner"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp + "/D"), {}), 1);
    for (auto dir : {".."sv, "."sv, "a/b"sv}) EXPECT_EQ(launch_files({kernel()}, dir), msg::kCantUseExtractionDir) << dir;
}

TEST_F(LauncherSequence, PlantedDirectoriesAndLinks) {
    namespace fs = std::filesystem;
    ScratchDir elsewhere;
    fs::create_directory_symlink(elsewhere.path(), tmp + "/Link");
    fs::create_directory(tmp + "/Open");
    fs::permissions(tmp + "/Open", fs::perms::all);
    write_file(tmp + "/Plain", bytes_of("a file"));
    fs::create_directory(tmp + "/Theirs");
    bool as_root = ::geteuid() == 0;  // only root can plant a directory that someone else owns
    if (as_root) {
        ASSERT_EQ(::chown((tmp + "/Theirs").c_str(), 65534, 65534), 0);
    }
    for (auto dir : {"Link", "Open", "Plain", as_root ? "Theirs" : "Link"})
        EXPECT_EQ(launch_files({kernel()}, dir), msg::kCantUseExtractionDir) << dir;
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
    EXPECT_TRUE(fs::is_empty(tmp + "/Open"));

    // A link planted inside the directory is replaced, not followed.
    fs::create_directory(tmp + "/L", tmp);
    fs::permissions(tmp + "/L", fs::perms::owner_all);
    write_file(scratch / "target", bytes_of("untouched"));
    fs::create_symlink(scratch / "target", tmp + "/L/data");
    EXPECT_EQ(launch_files({file("data", "new"), kernel()}, "L"), "");
    EXPECT_EQ(read_file(scratch / "target"), bytes_of("untouched"));
    EXPECT_EQ(extracted("L/data"), bytes_of("new"));

    platform.temp = scratch / "no-such-dir/";
    EXPECT_EQ(launch_files({kernel()}, "New"), msg::kCantUseExtractionDir);
}

TEST_F(LauncherSequence, PathsThatDoNotFitAreRefused) {
    size_t dir_path = (tmp + "/Q_N1234").size();  // the directory, its separator and a NUL must fit
    platform.limit = dir_path + 1;
    EXPECT_EQ(launch_files({kernel()}), msg::kPathTooLong);
    platform.limit = dir_path + 2 + std::string("rtcore.rlb").size();
    EXPECT_EQ(launch_files({kernel()}), "");
    EXPECT_EQ(launch_files({kernel(), file("rtcore.rlb2", "")}), msg::kPathTooLong);
}

}  // namespace
}  // namespace brindle::launcher
