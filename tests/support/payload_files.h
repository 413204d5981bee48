#pragma once
// Shared by the launcher and brindle-pack tests: scratch directories, files, and hand-made containers.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "launcher/container_writer.h"
#include "launcher/scramble.h"

namespace brindle::test {

namespace fs = std::filesystem;
using container::Key;
using container::PayloadFile;

class ScratchDir {
public:
    ScratchDir() : path_((fs::temp_directory_path() / "brindle-test-XXXXXX").string()) { ::mkdtemp(path_.data()); }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline Bytes bytes_of(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void write_file(const std::string& path, ByteView bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline PayloadFile file(std::string name, std::string_view content) { return {std::move(name), bytes_of(content)}; }
inline PayloadFile file_from_disk(std::string name, const std::string& path) {
    return {std::move(name), read_file(path)};
}
inline Bytes list_of(const std::vector<PayloadFile>& files) { return container::serialize_file_list(files); }

// Pseudo-random bytes: deflate cannot shrink them.
inline Bytes noise(size_t n) {
    Bytes out(n);
    uint32_t seed = 1;
    for (auto& b : out) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
    return out;
}

inline Bytes zlib_stream(ByteView data) {
    uLongf len = compressBound(data.size());
    Bytes out(len);
    compress2(out.data(), &len, data.data(), data.size(), Z_DEFAULT_COMPRESSION);
    out.resize(len);
    return out;
}

// A body in the clear: directory name, NUL, packed magic, U, stream.
inline Bytes clear_body(std::string_view dir, uint32_t packed_magic, uint32_t unpacked_size, ByteView stream) {
    ByteWriter w;
    w.cstring(dir);
    w.u32(packed_magic);
    w.u32(unpacked_size);
    w.raw(stream);
    return std::move(w.bytes());
}

inline Bytes body_for(ByteView list, std::string_view dir = "") {
    return clear_body(dir, container::kPackedMagic, uint32_t(list.size()), zlib_stream(list));
}

// Magic, id, key, then the body scrambled with the key.
inline Bytes block_of(ByteView body, uint32_t id = 0x1234, uint32_t magic = container::kContainerMagic) {
    const Key key = {0x11, 0x22, 0x33, 0x44};
    ByteWriter w;
    w.u32(magic);
    w.u32(id);
    w.raw(ByteView(key));
    w.raw(body);
    container::scramble_body(w.bytes(), key);
    return std::move(w.bytes());
}

// A copy of the launcher with a container of `files` appended, id and key derived as brindle-pack
// derives them; runnable. False (and a test failure) when the writer refuses.
inline bool write_packed(const std::string& out, const std::string& launcher, const std::vector<PayloadFile>& files,
                         const std::string& dir_name = "") {
    const Bytes list = list_of(files);
    container::ContainerSettings settings{dir_name, container::derive_payload_id(list, dir_name),
                                          container::derive_key(list)};
    auto block = container::build_container(list, settings);
    auto exe = block ? container::append_container(read_file(launcher), *block) : block;
    EXPECT_TRUE(exe.has_value()) << exe.error().describe();
    if (!exe) return false;
    write_file(out, *exe);
    return ::chmod(out.c_str(), 0755) == 0;
}

// Filler standing in for the launcher, the block, then a trailer (its size field S by default).
inline Bytes executable_with(ByteView block, size_t filler = 1000, std::optional<uint32_t> size = {},
                             uint32_t magic = container::kContainerMagic) {
    ByteWriter w;
    w.raw(Bytes(filler, 0xCC));
    w.raw(block);
    w.u32(size.value_or(uint32_t(block.size())));
    w.u32(magic);
    return std::move(w.bytes());
}

}  // namespace brindle::test
