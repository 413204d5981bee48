// The launch sequence in process, over real files, directories and test kernels; only the executable's
// own path and what cannot be provoked on demand (allocation failure, no temp directory, failing reads
// and writes, a swap between two steps) are faked.
#include <dlfcn.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "launcher/launch.h"
#include "launcher/posix_platform.h"
#include "tests/support/payload_files.h"

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
constexpr std::string_view kKernelWriteFailed = "Failed to write kernel library!";
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
    std::vector<std::string> messages, details, loaded;
    std::optional<std::string> refused_write;  // a file name whose write fails as on a full disk
    std::function<void(const std::string&)> after_directory_opened;
    std::function<void(const std::string&)> before_load;  // given the kernel's path
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
    SystemResult<std::unique_ptr<ExtractionDirectory>> open_extraction_directory(const std::string& path) override;
    bool refuse_private_directory = false;  // as when the temporary folder is full
    SystemResult<std::pair<std::string, std::unique_ptr<ExtractionDirectory>>> create_private_directory(
        const std::string& prefix) override {
        if (refuse_private_directory) return std::unexpected(SystemFailure{"No space left on device"});
        return PosixPlatform::create_private_directory(prefix);
    }
    ~TestPlatform() override { unload(); }
    // The kernel of the previous launch: the next one is loaded under the same /proc/self/fd name.
    void unload() {
        if (library) ::dlclose(library);
        library = nullptr;
    }
    void show_message(std::string_view message, std::string_view detail) override {
        messages.emplace_back(message);
        details.emplace_back(detail);
    }
};

// The real file, recording the path under which it is loaded.
class RecordedFile : public WrittenFile {
public:
    RecordedFile(std::unique_ptr<WrittenFile> real, TestPlatform& platform, std::string path)
        : real_(std::move(real)), platform_(platform), path_(std::move(path)) {}
    std::expected<void*, std::string> load_library() override {
        platform_.loaded.push_back(path_);
        platform_.unload();
        if (platform_.before_load) platform_.before_load(path_);
        auto library = real_->load_library();
        platform_.library = library.value_or(nullptr);
        return library;
    }

private:
    std::unique_ptr<WrittenFile> real_;
    TestPlatform& platform_;
    std::string path_;
};

// The real directory, except for the one write that is made to fail.
class RecordedDirectory : public ExtractionDirectory {
public:
    RecordedDirectory(std::unique_ptr<ExtractionDirectory> real, TestPlatform& platform, std::string path)
        : real_(std::move(real)), platform_(platform), path_(std::move(path)) {}
    SystemResult<std::unique_ptr<WrittenFile>> write_file(std::string_view name, ByteView content) override {
        if (platform_.refused_write == name) return std::unexpected(SystemFailure{"No space left on device"});
        auto written = real_->write_file(name, content);
        if (!written) return written;
        return std::make_unique<RecordedFile>(std::move(*written), platform_, path_ + "/" + std::string(name));
    }

private:
    std::unique_ptr<ExtractionDirectory> real_;
    TestPlatform& platform_;
    std::string path_;
};

SystemResult<std::unique_ptr<ExtractionDirectory>> TestPlatform::open_extraction_directory(const std::string& path) {
    auto real = PosixPlatform::open_extraction_directory(path);
    if (!real) return real;
    if (after_directory_opened) after_directory_opened(path);
    return std::make_unique<RecordedDirectory>(std::move(*real), *this, path);
}

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
        platform.unload();
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
    EXPECT_EQ(kernel_value<size_t>("test_kernel_image_size"), sizeof kImage);  // the kernel reads within it
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
    fs::create_directory(tmp + "/Group");
    fs::permissions(tmp + "/Group", fs::perms::owner_all | fs::perms::group_all);
    write_file(tmp + "/Plain", bytes_of("a file"));
    fs::create_directory(tmp + "/Theirs");
    bool as_root = ::geteuid() == 0;  // only root can plant a directory that someone else owns
    if (as_root) {
        ASSERT_EQ(::chown((tmp + "/Theirs").c_str(), 65534, 65534), 0);
    }
    // Whatever someone planted under the usual name is left alone; the start goes on in a fresh
    // private directory beside it, which goes when the platform does.
    for (auto dir : {"Link", "Open", "Group", "Plain", as_root ? "Theirs" : "Link"}) {
        EXPECT_EQ(launch_files({file("data", "d"), kernel()}, dir), "") << dir;
        ASSERT_EQ(platform.loaded.size(), 1u);
        std::string fresh = fs::path(platform.loaded.back()).parent_path();
        EXPECT_TRUE(fresh.starts_with(tmp + "/" + dir + ".")) << fresh;
        EXPECT_EQ(fs::status(fresh).permissions(), fs::perms::owner_all);
        EXPECT_EQ(read_file(fresh + "/data"), bytes_of("d"));
        platform.loaded.clear();
    }
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
    EXPECT_TRUE(fs::is_empty(tmp + "/Open"));
    EXPECT_TRUE(fs::is_empty(tmp + "/Group"));
    EXPECT_EQ(read_file(tmp + "/Plain"), bytes_of("a file"));
    auto own = std::make_unique<PosixPlatform>();
    auto made = own->create_private_directory(tmp + "/Own");
    ASSERT_TRUE(made.has_value());
    ASSERT_TRUE(made->second->write_file("f", bytes_of("x")).has_value());
    made->second.reset();
    EXPECT_TRUE(fs::exists(made->first + "/f"));
    own.reset();
    EXPECT_FALSE(fs::exists(made->first));

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

TEST_F(LauncherSequence, AKernelThatFailsToStartIsAFailedLaunch) {
    write_file(platform.exe, executable_with(block_of(body_for(list_of({file_from_disk("rtcore.rlb", FAILING_KERNEL)})))));
    platform.unload();
    EXPECT_EQ(launch(platform, kImage), kExitFailed);
    EXPECT_TRUE(platform.messages.empty());  // the kernel has said why
}

TEST_F(LauncherSequence, AKernelThatCannotBeWrittenIsNeverTakenFromAnEarlierStart) {
    EXPECT_EQ(launch_files({kernel()}, "K"), "");  // leaves K/rtcore.rlb behind
    platform.loaded.clear();
    platform.refused_write = "rtcore.rlb";
    EXPECT_EQ(launch_files({file("notes", "n"), kernel()}, "K"), msg::kKernelWriteFailed);
    EXPECT_EQ(platform.details.back(), tmp + "/K/rtcore.rlb: No space left on device");
    EXPECT_TRUE(platform.loaded.empty());
    // Any other file that cannot be written is still skipped.
    platform.refused_write = "notes";
    EXPECT_EQ(launch_files({file("notes", "n"), kernel()}, "K"), "");
}

// A real refusal from the file system: a record named like a non-empty directory cannot be renamed over it.
TEST_F(LauncherSequence, AFailedWriteLeavesNoTemporaryFile) {
    namespace fs = std::filesystem;
    fs::create_directory(tmp + "/T", tmp);
    fs::permissions(tmp + "/T", fs::perms::owner_all);
    fs::create_directories(tmp + "/T/notes/inside");
    fs::create_directories(tmp + "/T/rtcore.rlb/inside");
    EXPECT_EQ(launch_files({file("notes", "n"), kernel()}, "T"), msg::kKernelWriteFailed);
    EXPECT_EQ(platform.details.back(), tmp + "/T/rtcore.rlb: Is a directory");
    fs::remove_all(tmp + "/T/rtcore.rlb");
    EXPECT_EQ(launch_files({file("notes", "n"), kernel()}, "T"), "");  // the other file is skipped
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(tmp + "/T")) left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"notes", "rtcore.rlb"}));
}

TEST_F(LauncherSequence, TheDirectoryCheckedIsTheDirectoryUsed) {
    namespace fs = std::filesystem;
    ScratchDir elsewhere;
    // Between the check and the writes, the checked directory is moved away and a link put in its place.
    platform.after_directory_opened = [&](const std::string& path) {
        fs::rename(path, tmp + "/Moved");
        fs::create_directory_symlink(elsewhere.path(), path);
    };
    EXPECT_EQ(launch_files({file("data", "d"), kernel()}, "Swapped"), "");
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
    EXPECT_EQ(extracted("Moved/data"), bytes_of("d"));
    EXPECT_EQ(kernel_value<int>("test_kernel_starts"), 1);  // the kernel written there was loaded
    // The kernel is loaded from the file as written, even when its name is replaced afterwards.
    platform.after_directory_opened = nullptr;
    platform.before_load = [&](const std::string& path) {
        write_file(tmp + "/junk", bytes_of("not a library"));
        fs::rename(tmp + "/junk", path);
    };
    EXPECT_EQ(launch_files({kernel()}, "Fd"), "");
    EXPECT_EQ(extracted("Fd/rtcore.rlb"), bytes_of("not a library"));
    EXPECT_EQ(kernel_value<int>("test_kernel_starts"), 1);
}

TEST_F(LauncherSequence, RefusalsSayWhichPathAndWhy) {
    namespace fs = std::filesystem;
    platform.refuse_private_directory = true;  // so the usual directory's refusal is what is reported
    fs::create_directory(tmp + "/Open");
    fs::permissions(tmp + "/Open", fs::perms::all);
    EXPECT_EQ(launch_files({kernel()}, "Open"), msg::kCantUseExtractionDir);
    EXPECT_EQ(platform.details.back(), tmp + "/Open: writable by other users (mode 0777)");
    write_file(tmp + "/Plain", bytes_of("a file"));
    EXPECT_EQ(launch_files({kernel()}, "Plain"), msg::kCantUseExtractionDir);
    EXPECT_EQ(platform.details.back(), tmp + "/Plain: not a directory");
    fs::create_directory_symlink(tmp + "/Open", tmp + "/Link");
    EXPECT_EQ(launch_files({kernel()}, "Link"), msg::kCantUseExtractionDir);
    EXPECT_EQ(platform.details.back(), tmp + "/Link: a symbolic link, not a directory");
    // A name the file system cannot take is a path that is too long, not an unusable directory.
    const std::string long_name(300, 'd');
    EXPECT_EQ(launch_files({kernel()}, long_name), msg::kPathTooLong);
    EXPECT_EQ(platform.details.back(), tmp + "/" + long_name + ": File name too long");
    EXPECT_EQ(launch_files({file(long_name, "x"), kernel()}, "N"), msg::kPathTooLong);
}

TEST(LauncherCommandLine, HelpAndVersionAnswerAndEnd) {
    auto answer = [](std::vector<std::string_view> args) {
        std::FILE* out = std::tmpfile();
        std::optional<int> status = answer_command_line(args, out);
        std::rewind(out);
        char text[256] = {};
        size_t n = std::fread(text, 1, sizeof text - 1, out);
        std::fclose(out);
        return std::pair(status, std::string(text, n));
    };
    EXPECT_EQ(answer({"--version"}), std::pair(std::optional(0), std::string("brindle " BRINDLE_VERSION "\n")));
    auto help = answer({"ignored", "--help", "--version"});
    EXPECT_EQ(help.first, 0);
    EXPECT_TRUE(help.second.starts_with("Usage: brindle")) << help.second;
    EXPECT_EQ(std::count(help.second.begin(), help.second.end(), '\n'), 1);
    EXPECT_EQ(answer({}), std::pair(std::optional<int>(), std::string()));
    EXPECT_EQ(answer({"-psn_0_1", "file.txt"}), std::pair(std::optional<int>(), std::string()));  // ignored as before
}

// The extraction directory's parent: the per-user runtime directory when it is usable.
class TempDirectoryChoice : public ::testing::Test {
protected:
    ScratchDir scratch;
    std::map<std::string, std::optional<std::string>> saved;

    void SetUp() override {
        for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
            const char* value = std::getenv(name);
            saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }
    static std::string chosen(const char* runtime, const char* tmpdir) {
        auto set = [](const char* name, const char* value) { value ? ::setenv(name, value, 1) : ::unsetenv(name); };
        set("XDG_RUNTIME_DIR", runtime);
        set("TMPDIR", tmpdir);
        return PosixPlatform().temp_directory().value_or("none");
    }
};

TEST_F(TempDirectoryChoice, RuntimeDirectoryThenTmpdirThenSlashTmp) {
    namespace fs = std::filesystem;
    std::string runtime = scratch / "run", shared = scratch / "shared";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all);
    EXPECT_EQ(chosen(runtime.c_str(), "/var/tmp"), runtime + "/");
    EXPECT_EQ(chosen(runtime.c_str(), nullptr), runtime + "/");
    EXPECT_EQ(chosen(shared.c_str(), "/var/tmp"), "/var/tmp/");  // not private: not the runtime directory
    fs::permissions(runtime, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_EQ(chosen(runtime.c_str(), "/var/tmp"), "/var/tmp/");  // 0750
    fs::permissions(runtime, fs::perms::owner_all);
    EXPECT_EQ(chosen("relative/run", "/var/tmp"), "/var/tmp/");
    EXPECT_EQ(chosen("", "/var/tmp"), "/var/tmp/");
    EXPECT_EQ(chosen((scratch / "missing").c_str(), "/var/tmp"), "/var/tmp/");
    write_file(scratch / "file", bytes_of("x"));
    ::chmod((scratch / "file").c_str(), 0700);
    EXPECT_EQ(chosen((scratch / "file").c_str(), nullptr), "/tmp/");
    EXPECT_EQ(chosen(nullptr, ""), "/tmp/");
    if (::geteuid() == 0) {  // only root can make a directory that another user owns
        ASSERT_EQ(::chown(runtime.c_str(), 65534, 65534), 0);
        EXPECT_EQ(chosen(runtime.c_str(), "/var/tmp"), "/var/tmp/");
    }
}

}  // namespace
}  // namespace brindle::launcher
