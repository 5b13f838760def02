#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/surface.h"
#include "platform/data_source.h"

// A small data pack for tests: every picture and sheet the game loads, in the real archive
// layout, with plain colours that a test can predict pixel by pixel.
namespace fixture {

// Pixel (x, y) of slice n: each 80 x 80 tile of each slice has its own colour.
uint32_t picture_pixel(int slice, int x, int y);
gfx::Surface picture(int slice);

// Cell i of a generated sheet is filled with this colour.
uint32_t cell_colour(int piece, int cell);

// Cell sizes of the fixture's font: glyph i is glyph_width(i) x 12 with its anchor at its
// top-left, so a text's pen advance is predictable.
int glyph_width(int glyph);
// The colour of the fixture font's glyph for a character.
uint32_t glyph_colour(char ch);

// The 13 sheet pieces as the archive holds them (marked sheets, or rectangle sheets).
std::vector<gfx::Surface> sheet_pieces();

// The whole pack by file name, built once per process: image/data.bmp, image/dat2.bmp, and a
// small music file set, the six tracks and the effect (a format tag and filler bytes; the
// headless device checks only the tag).
const platform::DataFiles& pack_files();

// Writes image/data.bmp and image/dat2.bmp into dir (and creates the folders).
void write_pack(const std::filesystem::path& dir);

// Writes the six tracks and the effect into dir.
void write_sounds(const std::filesystem::path& dir);

// A fresh empty folder under the system's temp folder, removed by the caller.
std::filesystem::path make_temp_dir(const char* tag);

// A fresh folder holding the pack generated into `generated` when there is one, without its
// settings file or hidden files (the game writes its own settings), else the fixture pack.
std::filesystem::path make_data_folder(const char* tag, const std::filesystem::path& generated);

// A file's whole bytes; empty when it cannot be read.
std::string file_text(const std::filesystem::path& file);

}  // namespace fixture
