#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "launcher/container_reader.h"
#include "launcher/container_writer.h"
#include "tests/support/payload_files.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BRINDLE_HAS_ASAN 1
#endif
#endif
#ifndef BRINDLE_HAS_ASAN
#define BRINDLE_HAS_ASAN 0
#endif

namespace brindle::container {
namespace {

using test::file;

TEST(ContainerScramble, KeyByteFollowsTheBlockOffsetAndUndoesItself) {
    Bytes block(17, 0);
    block[11] = 0x5A;  // header: untouched
    scramble_body(block, Key{0xA0, 0xB1, 0xC2, 0xD3});
    EXPECT_EQ(block, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x5A, 0xB1, 0xC2, 0xD3, 0xA0, 0xB1}));  // k1 k2 k3 k0 k1

    Bytes clear = test::noise(300), data = clear;
    scramble_body(data, Key{0, 0, 0, 0});
    EXPECT_EQ(data, clear);
    scramble_body(data, Key{0x01, 0xFE, 0x80, 0x7F});
    EXPECT_NE(data, clear);
    scramble_body(data, Key{0x01, 0xFE, 0x80, 0x7F});
    EXPECT_EQ(data, clear);
}

TEST(ContainerWriter, RoundTripsThroughTheReader) {
    std::vector<PayloadFile> files = {file("rtcore.rlb", "kernel"), file("empty", ""), file("b.dat", "xyz")};
    Bytes list = serialize_file_list(files);
    EXPECT_EQ(serialize_file_list(std::vector{file("ab", "xyz")}), (Bytes{'a', 'b', 0, 3, 0, 0, 0, 'x', 'y', 'z'}));
    auto block = build_container(list, ContainerSettings{"MyDir", 0x00ABC123, Key{9, 8, 7, 6}});
    ASSERT_TRUE(block);
    auto c = read_container(*append_container(Bytes(1000, 0x90), *block));
    ASSERT_TRUE(c) << c.error().describe();
    EXPECT_EQ(c->payload_id, 0x00ABC123u);
    EXPECT_EQ(c->key, (Key{9, 8, 7, 6}));
    EXPECT_EQ(c->dir.name, "MyDir");
    EXPECT_EQ(c->block_at, 1000u);
    ASSERT_EQ(c->files.size(), 3u);
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(c->files[i].name, files[i].name);
        EXPECT_EQ(c->files[i].content, files[i].content);
    }
}

TEST(ContainerWriter, RefusesWhatTheLauncherWouldRefuse) {
    Bytes list = serialize_file_list(std::vector{file("rtcore.rlb", "k")});
    EXPECT_EQ(build_container({}, {}).error().message, "the file list is empty");
    EXPECT_EQ(build_container(list, {"../up", 0, {}}).error().message, "the directory name is not a plain file name");
    Bytes block = *build_container(list, {});
    EXPECT_EQ(append_container({}, block).error().message,
              "the executable is empty: the block needs at least one byte before it");
    Bytes exe(1008 - block.size() - 1, 0x90);
    EXPECT_EQ(append_container(exe, block).error().message, "the finished file would be shorter than 1008 bytes");
    exe.push_back(0x90);
    EXPECT_TRUE(append_container(exe, block));
}

TEST(ContainerReader, NameRules) {
    EXPECT_EQ(default_dir_name(0x00ABC123), "Q_NABC123");
    EXPECT_EQ(default_dir_name(0), "Q_N0");
    for (auto name : {"rtcore.rlb", "rtcore.xlb", "RTCORE.RLB", "RtCore.Xlb"}) EXPECT_TRUE(is_kernel_name(name)) << name;
    for (auto name : {"rtcore.dll", "rtcore.rlb ", "xrtcore.rlb", ""}) EXPECT_FALSE(is_kernel_name(name)) << name;
    for (auto name : {"", ".", "..", "../x", "a/b", "a\\b"}) EXPECT_FALSE(is_plain_file_name(name)) << name;
    EXPECT_TRUE(is_plain_file_name("..a"));
}

TEST(ContainerReader, ErrorsNameFileOffsets) {
    Bytes list = serialize_file_list(std::vector{file("rtcore.rlb", "k")});
    Bytes block = *build_container(list, {"", 1, Key{0, 0, 0, 0}});  // key 0: the body stays in the clear
    block[13] ^= 0xFF;                                               // the packed magic, after the lone NUL
    auto c = read_container(*append_container(Bytes(0x1BD9B8, 0x90), block));
    ASSERT_FALSE(c);
    EXPECT_EQ(c.error().describe(), "packed_magic at 0x1BD9C5: Invalid data in the file!");
}

// The unpacked size a container claims costs nothing until inflation produces it: a small file that
// claims 2^31 - 1 bytes is listed in a process that may not take 1 GiB.
TEST(ContainerReader, ClaimedSizeIsNotAllocatedUpFront) {
#if defined(__SANITIZE_ADDRESS__) || BRINDLE_HAS_ASAN
    GTEST_SKIP() << "an address limit does not combine with AddressSanitizer's shadow memory";
#endif
    Bytes list = serialize_file_list(std::vector{file("rtcore.rlb", "kernel")});
    Bytes exe = test::executable_with(test::block_of(test::clear_body("", kPackedMagic, 0x7FFFFFFF, test::zlib_stream(list))));
    ::fflush(nullptr);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit limit = {1u << 30, 1u << 30};
        ::setrlimit(RLIMIT_AS, &limit);
        auto c = read_container(exe);
        ::_exit(c && c->files.size() == 1 && c->unpacked_size == 0x7FFFFFFFu ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    // Inflation that would pass U is refused as before.
    Bytes small = test::executable_with(test::block_of(test::clear_body("", kPackedMagic, uint32_t(list.size() - 1), test::zlib_stream(list))));
    EXPECT_EQ(read_container(small).error().message, "Failed to decompress data!");
    Bytes exact = test::executable_with(test::block_of(test::clear_body("", kPackedMagic, uint32_t(list.size()), test::zlib_stream(list))));
    EXPECT_TRUE(read_container(exact));
}

}  // namespace
}  // namespace brindle::container
