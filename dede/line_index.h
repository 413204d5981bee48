#pragma once
// Lines and columns of byte offsets in a UTF-8 text, found in one pass. Columns count characters
// (code points), so a GBK file and its UTF-8 copy report the same places. A checkpoint every
// kStride bytes keeps the table small (8 bytes per checkpoint, whatever the number of lines) and
// bounds the work of one lookup, so reporting at every byte of a long line stays linear.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace brindle::dede {

struct TextPosition {
    uint32_t line = 1;    // 1-based
    uint32_t column = 1;  // 1-based, in characters
    friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

class LineIndex {
public:
    static constexpr size_t kStride = 256;

    // `text` must outlive the index and be shorter than 4 GiB.
    explicit LineIndex(std::string_view text);

    // The position of the byte at `offset` (offset == size gives the place after the last byte).
    TextPosition at(size_t offset) const;

private:
    std::string_view text_;
    std::vector<TextPosition> checkpoints_;  // the position of byte k * kStride
};

}  // namespace brindle::dede
