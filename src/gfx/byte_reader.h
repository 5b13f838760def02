#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace gfx {

// The one bounds-checked reader for binary formats. Every read past the end fails and
// leaves the reader failed, so a parser can read a whole header and test once.
class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t size() const { return bytes_.size(); }
    size_t position() const { return pos_; }
    bool ok() const { return ok_; }
    bool seek(size_t pos);
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int32_t i32() { return static_cast<int32_t>(u32()); }
    // A view of n bytes at the position, or an empty view (and failure) when they are not there.
    std::span<const uint8_t> bytes(size_t n);

  private:
    bool need(size_t n);
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace gfx
