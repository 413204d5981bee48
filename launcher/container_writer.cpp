#include "launcher/container_writer.h"

#include <zlib.h>

#include "launcher/container_reader.h"
#include "launcher/scramble.h"

namespace brindle::container {

Bytes serialize_file_list(std::span<const PayloadFile> files) {
    ByteWriter out;
    for (const PayloadFile& f : files) {
        out.cstring(f.name);
        out.counted(ByteView(f.content));
    }
    return std::move(out.bytes());
}

uint32_t derive_payload_id(ByteView list, std::string_view dir_name) {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(dir_name.data()), static_cast<uInt>(dir_name.size()));
    crc = crc32_z(crc, list.data(), list.size());
    return static_cast<uint32_t>(crc);
}

Key derive_key(ByteView list) {
    uLong sum = adler32_z(adler32(0L, Z_NULL, 0), list.data(), list.size());
    Key key;
    store_u32le(key.data(), static_cast<uint32_t>(sum));
    return key;
}

Result<Bytes> build_container(ByteView list, const ContainerSettings& settings) {
    if (list.size() >= kSizeLimit) return fail("the file list is 2 GiB or larger", "unpacked_size");
    if (list.empty()) return fail("the file list is empty", "unpacked_size");
    if (settings.dir_name.find('\0') != std::string::npos) return fail("the directory name holds a NUL", "dir_name");
    if (!settings.dir_name.empty() && !is_plain_file_name(settings.dir_name))
        return fail("the directory name is not a plain file name", "dir_name");

    uLongf packed_len = compressBound(list.size());
    Bytes packed(packed_len);
    if (compress2(packed.data(), &packed_len, list.data(), list.size(), Z_BEST_COMPRESSION) != Z_OK)
        return fail("zlib could not compress the file list", "packed_stream");
    packed.resize(packed_len);

    ByteWriter block;
    block.u32(kContainerMagic);
    block.u32(settings.payload_id);
    block.raw(ByteView(settings.key));
    block.cstring(settings.dir_name);
    block.u32(kPackedMagic);
    block.u32(static_cast<uint32_t>(list.size()));
    block.raw(ByteView(packed));
    if (block.size() >= kSizeLimit) return fail("the block is 2 GiB or larger", "block_size");
    scramble_body(block.bytes(), settings.key);

    uint32_t block_size = static_cast<uint32_t>(block.size());
    block.u32(block_size);
    block.u32(kContainerMagic);
    return std::move(block.bytes());
}

Result<Bytes> append_container(ByteView executable, ByteView container) {
    if (executable.empty()) return fail("the executable is empty: the block needs at least one byte before it");
    if (executable.size() + container.size() < kMinTrailerPosition + kTrailerSize)
        return fail("the finished file would be shorter than " +
                    std::to_string(kMinTrailerPosition + kTrailerSize) + " bytes");
    Bytes out(executable.begin(), executable.end());
    out.insert(out.end(), container.begin(), container.end());
    return out;
}

}  // namespace brindle::container
