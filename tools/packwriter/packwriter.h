#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/sprite_sheet.h"
#include "gfx/surface.h"
#include "platform/result.h"

// Writing the game's data formats: marked sheets, BMP files of exact lengths and the two
// archives. The generator and the tests' fixtures both use it, and it builds on the game's
// own format code, so what it writes is what the game reads.
namespace pack {

// The marker colours of a sheet. None of them may appear inside a sprite except the grid
// colour, which is transparent.
struct MarkerColours {
    gfx::ColorRef grid = gfx::rgb(255, 0, 255);
    gfx::ColorRef anchor = gfx::rgb(0, 255, 0);
    gfx::ColorRef bound = gfx::rgb(0, 0, 255);
    gfx::ColorRef both = gfx::rgb(255, 255, 0);
    gfx::ColorRef ruler = gfx::rgb(64, 64, 64);  // ruler lines away from the markers
};

// One sprite: its pixels and its anchor relative to the sprite's top-left pixel. The anchor
// may lie outside the sprite (a glyph's baseline below it, say).
struct SheetCell {
    gfx::Surface pixels;
    gfx::Point anchor;
};

// Lays cells out on rulers, row by row, and marks their bounds and anchors, so that the
// game's sheet loader finds exactly these cells in this order. Missing cells (empty
// surfaces) become 1 x 1 cells of the grid colour. Pixels of a sprite that equal a marker
// colour are nudged by one step of blue, except the grid colour, which stays transparent.
gfx::Surface compose_sheet(const std::vector<std::vector<SheetCell>>& rows,
                           const MarkerColours& colours = {});

// Turns a picture addressed by coordinates into a sheet without adding pixels, for pieces
// whose byte budget holds exactly the picture: the corners carry the rulers (grid colour at
// (0, 0), (W - 1, 0) and (0, H - 1)) and the key colours run down the last column from
// (W - 1, 1). Other pixels of the top row and left column that equal a marker colour are
// nudged off it, so the sheet loads with exactly one cell. Choose colours close to the
// picture's corners to keep the marks invisible; the picture must be at least 2 x 5.
gfx::Surface mark_picture_in_place(gfx::Surface picture, const MarkerColours& colours);

// A 24-bit BMP file of exactly `size` bytes (zero padding after the pixels, which readers skip);
// TooLarge when the picture needs more.
platform::Result<std::vector<uint8_t>> encode_bmp_exact(const gfx::Surface& picture, uint32_t size);

// The picture archive: 19 BMP files of one length, end to end. Each picture is encoded and
// padded to the length of the largest. Invalid unless there are exactly 19.
platform::Result<std::vector<uint8_t>> build_picture_archive(
    const std::vector<gfx::Surface>& pictures);

// The sheet archive: 13 BMP files, each exactly the length of its byte range. Invalid unless
// there are exactly 13; TooLarge, naming the piece, when one does not fit its range.
platform::Result<std::vector<uint8_t>> build_sheet_archive(const std::vector<gfx::Surface>& pieces);

// Replaces the file with these bytes the way the game replaces its settings file (a synced
// temporary file renamed over it), so a failed or killed run never leaves half a file behind.
// On failure the reason names the file and what went wrong.
platform::Result<void> write_file_atomically(const std::string& path,
                                             const std::vector<uint8_t>& bytes);

}  // namespace pack
