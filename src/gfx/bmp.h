#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/surface.h"
#include "platform/result.h"

namespace gfx {

// The largest picture the game decodes. The biggest sheet of the default pack is 1328 pixels
// wide and 883 x 664 in area, and every screen picture is 640 x 480; a picture past these
// bounds is refused before anything is allocated, so no file can cost more than 4 MiB of
// pixels however its header lies.
inline constexpr int32_t kMaxPictureSide = 2048;
inline constexpr int64_t kMaxPicturePixels = 1024 * 1024;

// The compressions the game reads: none, run-length coded 8 and 4 bit, and colour masks.
enum BmpCompression : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

// What a BMP file's headers say, read with bounds checks before any pixel is touched.
struct BmpInfo {
    uint32_t file_size = 0;
    uint32_t data_offset = 0;  // as stored; 0 means right after the colour table
    uint32_t header_size = 0;  // 12 for the old core header, 40 and up for the info headers
    int32_t width = 0;
    int32_t height = 0;  // negative for top-down files
    uint16_t bits_per_pixel = 0;
    uint32_t compression = kBiRgb;
    uint32_t colours_used = 0;
    uint32_t red_mask = 0, green_mask = 0, blue_mask = 0;  // the masks the pixels are read with
};

// Reads and checks the headers, including the size caps; Invalid, with the reason, when they
// are not those of a usable BMP.
platform::Result<BmpInfo> read_bmp_info(std::span<const uint8_t> bytes);

// What becomes of the fourth byte of a plain 32-bit pixel: dropped, as Windows draws such a
// picture, or kept as the top byte (alpha), as an icon with transparency needs.
enum class BmpAlpha { Drop, Keep };

// Decodes a whole BMP file held in memory into a surface, in every uncompressed and
// run-length form that Windows reads, with the pixels where the file header says they start.
// Invalid, with the reason, when it is not a usable BMP; no byte outside `bytes` is ever read.
platform::Result<Surface> decode_bmp(std::span<const uint8_t> bytes,
                                     BmpAlpha alpha = BmpAlpha::Drop);

// Encodes a surface as a plain bottom-up 24-bit BMP file. `padding` extra zero bytes follow
// the pixel data (readers stop at the last row), so a file can be padded to an exact length
// and still decode everywhere.
std::vector<uint8_t> encode_bmp24(const Surface& surface, uint32_t padding = 0);

// The byte length encode_bmp24 gives for a picture of this size without a gap.
uint32_t bmp24_size(int width, int height);
// The same bytes as encode_bmp24, added to the end of `out`: an archive is written in place.
void append_bmp24(std::vector<uint8_t>& out, const Surface& surface, uint32_t padding = 0);

}  // namespace gfx
