// Fuzz target for the payload container: any file either reads as a container or gives an error,
// through the tool's reader (which grows the list as inflation produces it) and through the
// launcher's steps (which inflate into a buffer of the claimed size, capped here to keep runs fast).
#include <cstddef>
#include <cstdint>

#include "launcher/container_reader.h"
#include "launcher/scramble.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brindle::container;
    const brindle::ByteView file(data, size);
    (void)read_container(file);

    auto position = trailer_position(size);
    if (!position) return 0;
    auto block_size = read_trailer(file.subspan(*position, kTrailerSize), *position);
    if (!block_size) return 0;
    const uint64_t block_at = *position - *block_size;
    brindle::Bytes block(file.begin() + block_at, file.begin() + *position);
    auto header = read_block_header(block, block_at);
    if (!header) return 0;
    scramble_body(block, header->key);
    auto dir = read_dir_name(block, header->payload_id, block_at);
    if (!dir) return 0;
    auto packed = read_packed_record(block, dir->packed_at, block_at);
    if (!packed || packed->unpacked_size > (1u << 20)) return 0;
    brindle::Bytes list(packed->unpacked_size);
    auto produced = inflate_list(packed->stream, list);
    if (!produced) return 0;
    list.resize(*produced);
    if (auto records = read_file_list(list))
        for (const FileRecord& r : *records) (void)is_kernel_name(r.name), (void)is_plain_file_name(r.name);
    return 0;
}
