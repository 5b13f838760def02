#pragma once
#include <array>
#include <string_view>
#include <vector>

#include "assetgen/image.h"
#include "assetgen/screens.h"
#include "gfx/surface.h"
#include "packwriter/packwriter.h"

// The thirteen pieces of the sheet archive, in piece order.
namespace assetgen {

// The game font's characters, in glyph order.
inline constexpr std::string_view kFontCharacters =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ:;.,!? ()+-/*=";
inline constexpr int kScriptFontCells = 127;  // glyph code = ASCII code, 32 to 126 drawn
inline constexpr int kCaptionPanelWidth = 640;
// The caption panel's height is what 640 pixels a row allow in its piece's bytes.
inline constexpr int kCaptionPanelHeight = 147;
inline constexpr int kIllustrationWidth = 440;
inline constexpr int kIllustrationHeight = 220;

// Everything the pieces need from the pictures.
struct SheetInputs {
    const Fonts* fonts = nullptr;
    const TitleArt* title = nullptr;
    std::array<const Image*, 8> rewards{};
};

std::vector<gfx::Surface> build_sheet_pieces(const SheetInputs& in);

// Widths of the script font's cells by glyph code, for fitting the captions.
std::vector<int> script_font_widths(const Font& sans);
// Widths of the game font's cells in glyph order (kFontCharacters), for framing its texts.
std::vector<int> game_font_widths(const Font& sans);

// Art shared with the viewer's illustrations.
void paint_cover(Image& img, int x, int y);
void paint_mark(Image& img, int i, int x, int y);
// Pointer shapes: 0 arrow (tip at x, y), 1 grabbing hand (centre), 2 pointing hand (tip).
void paint_pointer(Image& img, int kind, float x, float y);

}  // namespace assetgen
