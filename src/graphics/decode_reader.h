#pragma once
// A bounded little-endian reader over untrusted bytes: every read reports
// whether the bytes were there, so a decoder stops at the end of the data.

#include <cstddef>
#include <cstdint>

namespace qln {

class ByteReader {
  public:
    ByteReader(const uint8_t* bytes, size_t length, size_t pos = 0)
        : bytes_(bytes), length_(length), pos_(pos <= length ? pos : length) {}

    size_t pos() const { return pos_; }
    size_t left() const { return length_ - pos_; }

    bool u8(uint32_t& v) {
        if (left() < 1) return false;
        v = bytes_[pos_++];
        return true;
    }
    bool u16(uint32_t& v) {
        if (left() < 2) return false;
        v = uint32_t(bytes_[pos_]) | (uint32_t(bytes_[pos_ + 1]) << 8);
        pos_ += 2;
        return true;
    }
    bool u32(uint32_t& v) {
        if (left() < 4) return false;
        v = uint32_t(bytes_[pos_]) | (uint32_t(bytes_[pos_ + 1]) << 8) |
            (uint32_t(bytes_[pos_ + 2]) << 16) | (uint32_t(bytes_[pos_ + 3]) << 24);
        pos_ += 4;
        return true;
    }
    // Points at the next n bytes and moves past them.
    bool take(size_t n, const uint8_t*& out) {
        if (left() < n) return false;
        out = bytes_ + pos_;
        pos_ += n;
        return true;
    }

  private:
    const uint8_t* bytes_;
    size_t length_;
    size_t pos_;
};

}  // namespace qln
