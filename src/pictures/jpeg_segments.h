#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

// The marker segments of a JPEG file, walked without decoding anything: where the EXIF block
// lies, how many scans the picture has and whether its Huffman tables are sound.
namespace pictures {

inline constexpr uint8_t kJpegHuffmanTables = 0xC4;
inline constexpr uint8_t kJpegApp1 = 0xE1;  // application data: EXIF (or XMP)
inline constexpr uint8_t kJpegScan = 0xDA;  // start of a scan: its header, then its coded data

struct JpegSegment {
    uint8_t marker = 0;
    size_t offset = 0;  // where the payload (the bytes after the two length bytes) starts
    size_t length = 0;  // the payload's length as the segment gives it: may reach past the file
    std::span<const uint8_t> payload;  // as much of it as the file holds
};

// Whether the bytes start as a JPEG file does: the start-of-image marker, after any fill bytes.
bool is_jpeg(std::span<const uint8_t> bytes);

// Calls visit for each segment in turn, scan headers included, stepping over each scan's coded
// data and over stray bytes between segments (as decoders do). Stops after the end-of-image
// marker, at the end of the bytes, after a segment that reaches past them, at a marker that
// cannot start a segment, or when visit returns false. Reads no byte outside the span, and
// every step moves forward, so a file of n bytes is walked in at most n steps.
void walk_jpeg_segments(std::span<const uint8_t> bytes,
                        const std::function<bool(const JpegSegment&)>& visit);

// What is checked in a JPEG file before it is decoded.
struct JpegOutline {
    bool progressive = false;  // as the first frame header says
    size_t scans = 0;          // 1 for a plain JPEG, about 10 for a progressive one
    // A Huffman table that claims more than 256 codes, which stb 2.27 would write past the
    // end of its table for.
    bool oversized_huffman_table = false;
};
JpegOutline outline_jpeg(std::span<const uint8_t> bytes);

}  // namespace pictures
