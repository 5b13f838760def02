#include "pictures/jpeg_segments.h"

namespace pictures {

namespace {

constexpr uint8_t kMarkerByte = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kTemporary = 0x01;
constexpr size_t kMaxHuffmanCodes = 256;
// The frame headers stb reads: baseline, extended sequential and progressive.
constexpr uint8_t kBaselineFrame = 0xC0, kSequentialFrame = 0xC1, kProgressiveFrame = 0xC2;

bool is_restart(uint8_t marker) {
    return marker >= 0xD0 && marker <= 0xD7;
}

// Markers that stand alone, without a length or payload.
bool stands_alone(uint8_t marker) {
    return marker == kTemporary || marker == kStartOfImage || is_restart(marker);
}

// The position of the 0xFF that starts the next marker after a scan's coded data, where a zero
// after 0xFF is a stuffed byte and restart markers belong to the data; n when there is none.
size_t end_of_coded_data(std::span<const uint8_t> bytes, size_t pos) {
    const size_t n = bytes.size();
    while (pos < n) {
        if (bytes[pos] != kMarkerByte) {
            ++pos;
            continue;
        }
        size_t next = pos + 1;
        while (next < n && bytes[next] == kMarkerByte) ++next;  // fill bytes
        if (next >= n) return n;
        if (bytes[next] != 0x00 && !is_restart(bytes[next])) return next - 1;
        pos = next + 1;
    }
    return n;
}

// Whether each Huffman table of the segment holds at most 256 codes. stb reads the tables one
// after another straight from the file for as long as the segment's length leaves bytes, the
// last perhaps past the segment's end (and zeros past the file's): so is this read.
bool huffman_tables_fit(std::span<const uint8_t> file, const JpegSegment& segment) {
    const auto at = [&](size_t i) -> size_t { return i < file.size() ? file[i] : 0; };
    size_t pos = segment.offset;
    size_t left = segment.length;
    while (left > 0) {
        const size_t slot = at(pos);
        if (slot >> 4 > 1 || (slot & 15) > 3) return true;  // the decoder stops here
        size_t codes = 0;
        for (size_t i = 1; i <= 16; ++i) codes += at(pos + i);
        if (codes > kMaxHuffmanCodes) return false;
        const size_t table = 17 + codes;
        if (table >= left) return true;
        pos += table;
        left -= table;
    }
    return true;
}

// Where the segments start: after the start-of-image marker, which may follow fill bytes as
// any marker may; 0 when the bytes do not start with it.
size_t after_start_of_image(std::span<const uint8_t> bytes) {
    size_t pos = 0;
    while (pos < bytes.size() && bytes[pos] == kMarkerByte) ++pos;
    return pos > 0 && pos < bytes.size() && bytes[pos] == kStartOfImage ? pos + 1 : 0;
}

}  // namespace

bool is_jpeg(std::span<const uint8_t> bytes) {
    return after_start_of_image(bytes) != 0;
}

void walk_jpeg_segments(std::span<const uint8_t> bytes,
                        const std::function<bool(const JpegSegment&)>& visit) {
    const size_t n = bytes.size();
    size_t pos = after_start_of_image(bytes);
    if (pos == 0) return;
    while (pos < n) {
        if (bytes[pos] != kMarkerByte) {  // padding between segments
            ++pos;
            continue;
        }
        while (pos < n && bytes[pos] == kMarkerByte) ++pos;  // fill bytes before a marker
        if (pos >= n) return;
        const uint8_t marker = bytes[pos++];
        if (marker == kEndOfImage) return;
        if (stands_alone(marker)) continue;
        if (marker == 0x00 || n - pos < 2) return;
        const size_t length = static_cast<size_t>(bytes[pos]) << 8 | bytes[pos + 1];
        if (length < 2) return;
        JpegSegment segment{marker, pos + 2, length - 2, {}};
        const bool whole = length <= n - pos;
        segment.payload = bytes.subspan(pos + 2, (whole ? length : n - pos) - 2);
        if (!visit(segment) || !whole) return;
        pos += length;
        if (marker == kJpegScan) pos = end_of_coded_data(bytes, pos);
    }
}

JpegOutline outline_jpeg(std::span<const uint8_t> bytes) {
    JpegOutline outline;
    bool framed = false;
    walk_jpeg_segments(bytes, [&](const JpegSegment& segment) {
        const uint8_t m = segment.marker;
        if (!framed && (m == kBaselineFrame || m == kSequentialFrame || m == kProgressiveFrame)) {
            framed = true;
            outline.progressive = m == kProgressiveFrame;
        }
        if (segment.marker == kJpegScan) ++outline.scans;
        if (segment.marker == kJpegHuffmanTables && !huffman_tables_fit(bytes, segment))
            outline.oversized_huffman_table = true;
        return true;
    });
    return outline;
}

}  // namespace pictures
