#include "dede/line_index.h"

namespace brindle::dede {
namespace {

bool starts_character(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// Moves `position` over the bytes of `span`.
void advance(TextPosition& position, std::string_view span) {
    for (char c : span) {
        if (c == '\n') {
            ++position.line;
            position.column = 1;
        } else if (starts_character(c)) {
            ++position.column;
        }
    }
}

}  // namespace

LineIndex::LineIndex(std::string_view text) : text_(text) {
    checkpoints_.reserve(text.size() / kStride + 1);
    TextPosition position;
    for (size_t at = 0; at < text.size(); at += kStride) {
        checkpoints_.push_back(position);
        advance(position, text.substr(at, kStride));
    }
    checkpoints_.push_back(position);  // the end, when the size is a multiple of the stride
}

TextPosition LineIndex::at(size_t offset) const {
    if (offset > text_.size()) offset = text_.size();
    size_t checkpoint = offset / kStride;
    TextPosition position = checkpoints_[checkpoint];
    size_t from = checkpoint * kStride;
    advance(position, text_.substr(from, offset - from));
    return position;
}

}  // namespace brindle::dede
