#include "launcher/scramble.h"

namespace brindle::container {

void scramble_body(std::span<uint8_t> block, const Key& key) {
    // The key byte depends only on the offset within the block: offset 12 takes k1, 13 k2, 14 k3, 15 k0.
    for (size_t m = kBodyAt; m < block.size(); ++m) block[m] ^= key[(m + 1) % key.size()];
}

}  // namespace brindle::container
