#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "gfx/surface.h"
#include "platform/result.h"

// The player's own pictures: PNG, JPEG (baseline and progressive), GIF (its first frame) and
// BMP files, decoded into the game's XRGB surfaces, upright.
namespace pictures {

// The largest file read as a picture, and the most pixels its header may promise: room for the
// photos phones save unless set to their sensor's full resolution.
inline constexpr uint64_t kMaxPictureFileBytes = 64u << 20;
inline constexpr uint64_t kMaxPictureMegapixels = 40;
inline constexpr uint64_t kMaxPicturePixels = kMaxPictureMegapixels * 1'000'000;
// A sequential JPEG codes each of its colour components (four at most) in one scan; a
// progressive one refines the picture over about ten. Each scan goes over the whole picture
// again, a sequential one at the full cost of decoding it, so a file of thousands of tiny
// scans would keep the decoder busy for hours: more than these are refused.
inline constexpr size_t kMaxSequentialJpegScans = 4;
inline constexpr size_t kMaxProgressiveJpegScans = 100;

// Transparent parts are shown over white, as a drawing or a screenshot with a transparent
// background appears on a page.
inline constexpr uint32_t kBackdrop = 0xFFFFFF;

struct PictureLimits {
    uint64_t max_file_bytes = kMaxPictureFileBytes;
    uint64_t max_pixels = kMaxPicturePixels;
};

// A picture's stored size, from its header.
struct PictureSize {
    int width = 0;
    int height = 0;
};

// The checks decode_picture makes before it decodes anything: the byte count, a JPEG's scans
// and Huffman tables, and the size the header promises. Its errors are decode_picture's own.
platform::Result<PictureSize> check_picture(std::span<const uint8_t> bytes,
                                            const PictureLimits& limits = {});

// The picture in the bytes, turned upright by its EXIF orientation (a JPEG's), alpha laid over
// kBackdrop. The size is checked first, then the dimensions from the header, before anything
// is decoded. The decoder's memory is held to what a picture of the header's size needs, and
// never more than twice the largest decoded picture (8 bytes a pixel of the cap); the decoded
// rows go straight into the surface, turned as they go, so nothing else is allocated.
//
// Errors, each a reason that can follow the file's name:
//   TooLarge "is larger than 64 MiB", "is 100000 x 100000 pixels, more than 40 megapixels",
//            "needs more than 305 MiB of memory to decode" (a 16-bit PNG, a progressive JPEG
//            at full colour resolution or a GIF near the pixel cap);
//   Invalid  "is empty", "is not a PNG, JPEG, GIF or BMP picture",
//            "has 5000 scans, more than 100" (4 for a sequential JPEG), "cannot be decoded: <the
//            decoder's reason>", "cannot be decoded: it holds more data than its size" (data that
//            would unpack to more than the header's size needs);
//   Failed   "cannot be decoded: out of memory".
platform::Result<gfx::Surface> decode_picture(std::span<const uint8_t> bytes,
                                              const PictureLimits& limits = {});

// The bytes of a picture file for decode_picture; a file larger than kMaxPictureFileBytes is
// refused unread with decode_picture's reason. Other errors are those of
// platform::read_data_file.
platform::Result<std::vector<uint8_t>> read_picture_file(const std::filesystem::path& file);

}  // namespace pictures
