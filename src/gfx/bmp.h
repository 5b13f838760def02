#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/surface.h"

namespace gfx {

// What a BMP file's headers say, read with bounds checks before any pixel is touched.
struct BmpInfo {
    uint32_t file_size = 0;
    uint32_t data_offset = 0;
    int32_t width = 0;
    int32_t height = 0;  // negative for top-down files
    uint16_t bits_per_pixel = 0;
    uint32_t compression = 0;
};

// Reads and checks the headers; on failure returns nothing and says why in *why.
std::optional<BmpInfo> read_bmp_info(std::span<const uint8_t> bytes, std::string* why = nullptr);

// Decodes a whole BMP file held in memory into a surface; nothing when it is not a usable BMP.
std::optional<Surface> decode_bmp(std::span<const uint8_t> bytes, std::string* why = nullptr);

// Encodes a surface as a plain bottom-up 24-bit BMP file. `padding` extra zero bytes follow
// the pixel data (readers stop at the last row), so a file can be padded to an exact length
// and still decode everywhere.
std::vector<uint8_t> encode_bmp24(const Surface& surface, uint32_t padding = 0);

// The byte length encode_bmp24 gives for a picture of this size without a gap.
uint32_t bmp24_size(int width, int height);

}  // namespace gfx
