#pragma once
// Builds payload containers: the file list, its zlib stream, the scrambled block and the trailer.
#include <cstdint>
#include <span>
#include <string>

#include "common/bytes.h"
#include "common/result.h"
#include "launcher/container_format.h"

namespace brindle::container {

// Name, NUL, u32 length and content for each file, in order.
Bytes serialize_file_list(std::span<const PayloadFile> files);

// Payload id and key derived from the list and directory name: the same payload always gets the same
// extraction directory, a changed one a new directory.
uint32_t derive_payload_id(ByteView list, std::string_view dir_name);
Key derive_key(ByteView list);

struct ContainerSettings {
    std::string dir_name;  // empty: the launcher picks the default name from the payload id
    uint32_t payload_id = 0;
    Key key{};
};

// The block followed by the trailer, ready to be appended to an executable.
Result<Bytes> build_container(ByteView list, const ContainerSettings& settings);

// The executable's bytes followed by the container; refuses a result the launcher would not accept.
Result<Bytes> append_container(ByteView executable, ByteView container);

}  // namespace brindle::container
