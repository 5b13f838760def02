#include "gfx/byte_reader.h"

namespace gfx {

bool ByteReader::need(size_t n) {
    if (!ok_ || n > bytes_.size() || pos_ > bytes_.size() - n) {
        ok_ = false;
        return false;
    }
    return true;
}

bool ByteReader::seek(size_t pos) {
    if (pos > bytes_.size()) {
        ok_ = false;
        return false;
    }
    pos_ = pos;
    return ok_;
}

uint8_t ByteReader::u8() {
    if (!need(1)) return 0;
    return bytes_[pos_++];
}

uint16_t ByteReader::u16() {
    if (!need(2)) return 0;
    const uint16_t v = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint32_t ByteReader::u32() {
    if (!need(4)) return 0;
    const uint32_t v = static_cast<uint32_t>(bytes_[pos_]) |
                       (static_cast<uint32_t>(bytes_[pos_ + 1]) << 8) |
                       (static_cast<uint32_t>(bytes_[pos_ + 2]) << 16) |
                       (static_cast<uint32_t>(bytes_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
}

std::span<const uint8_t> ByteReader::bytes(size_t n) {
    if (!need(n)) return {};
    auto view = bytes_.subspan(pos_, n);
    pos_ += n;
    return view;
}

}  // namespace gfx
