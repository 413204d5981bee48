#pragma once
// The body scrambling: XOR with the key byte picked by the block offset. Its own inverse.
#include <cstdint>
#include <span>

#include "launcher/container_format.h"

namespace brindle::container {

// Scrambles or descrambles block[12..end) in place; the header is left alone.
void scramble_body(std::span<uint8_t> block, const Key& key);

}  // namespace brindle::container
