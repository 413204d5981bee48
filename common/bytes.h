#pragma once
// Little-endian integers in and out of byte buffers, and a cursor that never reads past its buffer.
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace brindle {

using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

inline uint16_t load_u16le(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t load_u32le(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint64_t load_u64le(const uint8_t* p) { return uint64_t(load_u32le(p)) | uint64_t(load_u32le(p + 4)) << 32; }
inline void store_u16le(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void store_u32le(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24);
}
inline void store_u64le(uint8_t* p, uint64_t v) { store_u32le(p, uint32_t(v)); store_u32le(p + 4, uint32_t(v >> 32)); }

// Reads fields in order from a byte view; every read checks the bounds and names its field on failure.
class ByteCursor {
public:
    explicit ByteCursor(ByteView data, size_t pos = 0, uint64_t base_offset = 0)
        : data_(data), pos_(pos), base_(base_offset) {}

    size_t pos() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return pos_ <= data_.size() ? data_.size() - pos_ : 0; }
    bool at_end() const { return pos_ >= data_.size(); }
    // Offset reported in errors: the cursor's position plus the offset of its view in the whole file.
    uint64_t offset() const { return base_ + pos_; }

    Result<void> seek(size_t pos, std::string_view field);
    Result<void> skip(size_t n, std::string_view field);
    Result<uint8_t> u8(std::string_view field);
    Result<uint16_t> u16(std::string_view field);
    Result<uint32_t> u32(std::string_view field);
    Result<int32_t> i32(std::string_view field);
    Result<uint64_t> u64(std::string_view field);
    Result<double> f64(std::string_view field);
    Result<ByteView> bytes(size_t n, std::string_view field);
    // Bytes up to the next NUL (not included); the cursor moves past the NUL.
    Result<std::string> cstring(std::string_view field);
    // A u32 byte count, then that many bytes.
    Result<std::string> counted_text(std::string_view field);
    Result<Bytes> counted_bytes(std::string_view field);

private:
    Result<void> need(size_t n, std::string_view field) const;

    ByteView data_;
    size_t pos_;
    uint64_t base_;
};

// Appends fields to a growing buffer.
class ByteWriter {
public:
    Bytes& bytes() { return out_; }
    const Bytes& bytes() const { return out_; }
    size_t size() const { return out_.size(); }

    void u8(uint8_t v) { out_.push_back(v); }
    void u16(uint16_t v) { uint8_t b[2]; store_u16le(b, v); out_.insert(out_.end(), b, b + 2); }
    void u32(uint32_t v) { uint8_t b[4]; store_u32le(b, v); out_.insert(out_.end(), b, b + 4); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void u64(uint64_t v) { uint8_t b[8]; store_u64le(b, v); out_.insert(out_.end(), b, b + 8); }
    void f64(double v) { uint64_t bits; std::memcpy(&bits, &v, 8); u64(bits); }
    void zeros(size_t n) { out_.insert(out_.end(), n, 0); }
    void raw(ByteView v) { out_.insert(out_.end(), v.begin(), v.end()); }
    void raw(std::string_view v) { out_.insert(out_.end(), v.begin(), v.end()); }
    void cstring(std::string_view v) { raw(v); u8(0); }
    void counted(std::string_view v) { u32(static_cast<uint32_t>(v.size())); raw(v); }
    void counted(ByteView v) { u32(static_cast<uint32_t>(v.size())); raw(v); }
    // Overwrites a u32 written earlier (offsets known only later).
    void patch_u32(size_t at, uint32_t v) { store_u32le(out_.data() + at, v); }

private:
    Bytes out_;
};

}  // namespace brindle
