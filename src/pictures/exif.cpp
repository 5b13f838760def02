#include "pictures/exif.h"

#include <algorithm>
#include <array>

#include "pictures/jpeg_segments.h"

namespace pictures {

namespace {

constexpr std::array<uint8_t, 6> kExifHeader = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kTiffMagic = 42;
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr size_t kEntryBytes = 12;

// The TIFF block inside the EXIF segment, in its own byte order. Offsets are from its start;
// a read past its end yields nothing.
class Tiff {
  public:
    explicit Tiff(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    // Reads the byte order mark; false when there is none.
    bool read_order() {
        if (bytes_.size() < 2) return false;
        if (bytes_[0] == 'I' && bytes_[1] == 'I') {
            little_ = true;
        } else if (bytes_[0] == 'M' && bytes_[1] == 'M') {
            little_ = false;
        } else {
            return false;
        }
        return true;
    }
    bool has(size_t offset, size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    uint16_t u16(size_t offset) const {
        const uint8_t a = bytes_[offset], b = bytes_[offset + 1];
        return static_cast<uint16_t>(little_ ? a | b << 8 : a << 8 | b);
    }
    uint32_t u32(size_t offset) const {
        const uint32_t hi = u16(offset), lo = u16(offset + 2);
        return little_ ? lo << 16 | hi : hi << 16 | lo;
    }
    size_t size() const { return bytes_.size(); }

  private:
    std::span<const uint8_t> bytes_;
    bool little_ = true;
};

int orientation_in_tiff(std::span<const uint8_t> bytes) {
    Tiff tiff(bytes);
    if (!tiff.read_order() || !tiff.has(0, 8) || tiff.u16(2) != kTiffMagic) return kUpright;
    const size_t directory = tiff.u32(4);
    if (!tiff.has(directory, 2)) return kUpright;
    const size_t first = directory + 2;
    // No more entries than the block holds, whatever the count says.
    const size_t entries =
        std::min<size_t>(tiff.u16(directory), (tiff.size() - first) / kEntryBytes);
    for (size_t i = 0; i < entries; ++i) {
        const size_t entry = first + i * kEntryBytes;
        if (tiff.u16(entry) != kOrientationTag) continue;
        // A SHORT with one value keeps it in the first two bytes of the value field.
        if (tiff.u16(entry + 2) != kShortType || tiff.u32(entry + 4) < 1) return kUpright;
        const uint16_t value = tiff.u16(entry + 8);
        return value >= kUpright && value <= kTurnedRight ? int{value} : int{kUpright};
    }
    return kUpright;
}

}  // namespace

int exif_orientation(std::span<const uint8_t> jpeg) {
    int orientation = kUpright;
    walk_jpeg_segments(jpeg, [&](const JpegSegment& segment) {
        if (segment.marker == kJpegScan) return false;  // metadata comes before the first scan
        if (segment.marker != kJpegApp1 || segment.payload.size() < kExifHeader.size() ||
            !std::equal(kExifHeader.begin(), kExifHeader.end(), segment.payload.begin()))
            return true;  // another segment, or an APP1 holding XMP
        orientation = orientation_in_tiff(segment.payload.subspan(kExifHeader.size()));
        return false;
    });
    return orientation;
}

}  // namespace pictures
