#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/surface.h"
#include "platform/result.h"

namespace gfx {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct SpriteCell {
    Rect source;     // the sprite's pixels inside the picture
    Point anchor;    // the hot spot, in picture coordinates
    Rect placement;  // source moved by minus the anchor
};

// The game's one picture object: a surface and, for tile grids and marked sheets, a table of
// cells. Every load empties the sheet first.
class SpriteSheet {
  public:
    int cell_count() const { return static_cast<int>(cells_.size()); }
    const std::vector<SpriteCell>& cells() const { return cells_; }
    const SpriteCell* cell(int i) const;
    bool has_surface() const { return surface_.has_value(); }
    const Surface* surface() const { return surface_ ? &*surface_ : nullptr; }

    void clear() { unload(); }
    void unload();

    // A plain picture from the bytes of a BMP file. On failure the sheet is empty and the
    // error's reason follows the file's name in a message: "is not a usable BMP picture (...)"
    // or, for a sheet, "has fewer than two rulers in a direction; not loaded".
    platform::Result<void> load_picture(std::span<const uint8_t> bmp);
    // A marked sheet from the bytes of a BMP file: cells from its rulers and markers.
    platform::Result<void> load_sheet(std::span<const uint8_t> bmp);
    // The same two from a decoded surface.
    void load_picture(Surface picture);
    platform::Result<void> load_sheet(Surface picture);

    // The 48 tiles of 80 x 80 over the picture, numbered column by column.
    void make_tile_grid();

    void blit_picture(Surface& target, int w, int h) const;
    void blit_region(Surface& target, int dx, int dy, int sx, int sy, int w, int h) const;
    // Draws cell i with its anchor at (x, y). An index outside the table draws nothing.
    void draw_cell(Surface& target, int x, int y, int i, bool keyed) const;

    // Text from the 50-glyph font map: one glyph, and a text with proportional advance.
    void draw_glyph(Surface& target, int x, int y, char ch, bool keyed) const;
    void draw_text(Surface& target, int x, int y, std::string_view text, bool keyed) const;
    // How far draw_text's pen moves over the text.
    int text_width(std::string_view text) const;
    // Text whose glyphs are named by four-digit codes, as the viewer's captions are.
    void draw_code_text(Surface& target, int x, int y, std::string_view codes, bool keyed) const;

  private:
    int cell_width(int i) const;

    std::vector<SpriteCell> cells_;
    std::optional<Surface> surface_;
};

// The most cells a marked sheet may hold. The viewer's captions name glyphs by four-digit
// codes, so no sheet can use more; the cap keeps a crafted sheet whose every pixel is a ruler
// from filling memory with cells.
inline constexpr size_t kMaxSheetCells = 10000;

// Scans a marked sheet's rulers and markers into cells; Invalid, with the reason, when it has
// fewer than two rulers in a direction or more than kMaxSheetCells cells.
platform::Result<std::vector<SpriteCell>> scan_marked_cells(const Surface& picture);

}  // namespace gfx
