#include "common/bytes.h"

#include "common/try.h"

#include <algorithm>

namespace brindle {

Result<void> ByteCursor::need(size_t n, std::string_view field) const {
    if (pos_ > data_.size() || n > data_.size() - pos_)
        return fail("needs " + std::to_string(n) + " bytes, " + std::to_string(remaining()) + " left",
                    std::string(field), offset());
    return {};
}

Result<void> ByteCursor::seek(size_t pos, std::string_view field) {
    if (pos > data_.size())
        return fail("offset lies outside the data (size " + std::to_string(data_.size()) + ")",
                    std::string(field), base_ + pos);
    pos_ = pos;
    return {};
}

Result<void> ByteCursor::skip(size_t n, std::string_view field) {
    if (auto ok = need(n, field); !ok) return ok;
    pos_ += n;
    return {};
}

Result<uint8_t> ByteCursor::u8(std::string_view field) {
    BRINDLE_CHECK(need(1, field));
    return data_[pos_++];
}

Result<uint16_t> ByteCursor::u16(std::string_view field) {
    BRINDLE_CHECK(need(2, field));
    uint16_t v = load_u16le(data_.data() + pos_);
    pos_ += 2;
    return v;
}

Result<uint32_t> ByteCursor::u32(std::string_view field) {
    BRINDLE_CHECK(need(4, field));
    uint32_t v = load_u32le(data_.data() + pos_);
    pos_ += 4;
    return v;
}

Result<int32_t> ByteCursor::i32(std::string_view field) {
    BRINDLE_TRY(auto v, u32(field));
    return static_cast<int32_t>(v);
}

Result<uint64_t> ByteCursor::u64(std::string_view field) {
    BRINDLE_CHECK(need(8, field));
    uint64_t v = load_u64le(data_.data() + pos_);
    pos_ += 8;
    return v;
}

Result<double> ByteCursor::f64(std::string_view field) {
    BRINDLE_TRY(auto bits, u64(field));
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

Result<ByteView> ByteCursor::bytes(size_t n, std::string_view field) {
    BRINDLE_CHECK(need(n, field));
    ByteView v = data_.subspan(pos_, n);
    pos_ += n;
    return v;
}

Result<std::string> ByteCursor::cstring(std::string_view field) {
    BRINDLE_CHECK(need(1, field));
    auto begin = data_.begin() + pos_;
    auto nul = std::find(begin, data_.end(), uint8_t{0});
    if (nul == data_.end()) return fail("text has no NUL before the end of the data", std::string(field), offset());
    std::string text(begin, nul);
    pos_ += text.size() + 1;
    return text;
}

Result<std::string> ByteCursor::counted_text(std::string_view field) {
    size_t start = pos_;
    BRINDLE_TRY(auto n, u32(field));
    auto body = bytes(n, field);
    if (!body) {
        pos_ = start;
        return std::unexpected(body.error());
    }
    return std::string(body->begin(), body->end());
}

Result<Bytes> ByteCursor::counted_bytes(std::string_view field) {
    BRINDLE_TRY(auto text, counted_text(field));
    return Bytes(text.begin(), text.end());
}

}  // namespace brindle
