#include "gfx/sprite_sheet.h"

#include <string>

#include "gfx/bmp.h"

namespace gfx {

namespace {

constexpr int kTile = 80;
constexpr int kTileColumns = 8;
constexpr int kTileRows = 6;

platform::Result<Surface> decode(std::span<const uint8_t> bmp) {
    auto surface = decode_bmp(bmp);
    if (!surface) {
        return platform::Error{platform::ErrorKind::Invalid,
                               "is not a usable BMP picture (" + surface.error().reason + ")"};
    }
    return surface;
}

// Marker colours compare as GDI colours, so only the low 24 bits of a pixel count.
uint32_t colour_at(const Surface& s, int x, int y) {
    return s.pixel(x, y) & 0xFFFFFFu;
}

// A pixel read back as the GDI colour value (0x00BBGGRR) that a colour key is made from.
ColorRef colour_ref(uint32_t pixel) {
    return rgb((pixel >> 16) & 0xFFu, (pixel >> 8) & 0xFFu, pixel & 0xFFu);
}

// First position from `from` stepping by `step` up to and including `to` whose pixel is a or b.
template <typename PixelAt>
std::optional<int> find_mark(PixelAt at, int from, int to, int step, uint32_t a, uint32_t b) {
    for (int i = from; step > 0 ? i <= to : i >= to; i += step) {
        const uint32_t c = at(i);
        if (c == a || c == b) return i;
    }
    return std::nullopt;
}

platform::Error refuse(const char* text) {
    return {platform::ErrorKind::Invalid, text};
}

}  // namespace

const SpriteCell* SpriteSheet::cell(int i) const {
    if (i < 0 || i >= cell_count()) return nullptr;
    return &cells_[static_cast<size_t>(i)];
}

void SpriteSheet::unload() {
    cells_.clear();
    cells_.shrink_to_fit();
    surface_.reset();
}

platform::Result<void> SpriteSheet::load_picture(std::span<const uint8_t> bmp) {
    unload();
    auto surface = decode(bmp);
    if (!surface) return surface.error();
    load_picture(std::move(*surface));
    return {};
}

void SpriteSheet::load_picture(Surface picture) {
    unload();
    picture.set_color_key(std::nullopt);
    surface_ = std::move(picture);
}

platform::Result<void> SpriteSheet::load_sheet(std::span<const uint8_t> bmp) {
    unload();
    auto surface = decode(bmp);
    if (!surface) return surface.error();
    return load_sheet(std::move(*surface));
}

platform::Result<void> SpriteSheet::load_sheet(Surface picture) {
    unload();
    auto cells = scan_marked_cells(picture);
    if (!cells) return platform::Error{cells.error().kind, cells.error().reason + "; not loaded"};
    const ColorRef grid = colour_ref(picture.pixel(picture.width() - 1, 0));
    picture.set_color_key(color_to_pixel(grid, picture.format()));
    cells_ = std::move(*cells);
    surface_ = std::move(picture);
    return {};
}

platform::Result<std::vector<SpriteCell>> scan_marked_cells(const Surface& s) {
    const int w = s.width();
    const int h = s.height();
    if (w < 2 || h < 5) return refuse("is too small for a marked sheet");
    const uint32_t grid = colour_at(s, w - 1, 0);
    const uint32_t anchor = colour_at(s, w - 1, 2);
    const uint32_t bound = colour_at(s, w - 1, 3);
    const uint32_t both = colour_at(s, w - 1, 4);

    std::vector<int> xs, ys;
    for (int x = 0; x < w; ++x)
        if (colour_at(s, x, 0) == grid) xs.push_back(x);
    for (int y = 0; y < h; ++y)
        if (colour_at(s, 0, y) == grid) ys.push_back(y);
    if (xs.size() < 2 || ys.size() < 2) return refuse("has fewer than two rulers in a direction");
    if ((xs.size() - 1) * (ys.size() - 1) > kMaxSheetCells)
        return refuse("has more cells than a sheet may hold");

    std::vector<SpriteCell> cells;
    cells.reserve((xs.size() - 1) * (ys.size() - 1));
    for (size_t r = 0; r + 1 < ys.size(); ++r) {
        for (size_t k = 0; k + 1 < xs.size(); ++k) {
            const int x0 = xs[k], x1 = xs[k + 1], y0 = ys[r], y1 = ys[r + 1];
            auto on_row = [&](int x) { return colour_at(s, x, y0); };
            auto on_column = [&](int y) { return colour_at(s, x0, y); };
            SpriteCell c;
            c.source.left = find_mark(on_row, x0 + 1, x1 - 2, 1, bound, both).value_or(x0 + 1);
            c.source.right =
                find_mark(on_row, x1 - 1, x0 + 1, -1, bound, both).value_or(x1 - 1) + 1;
            c.source.top = find_mark(on_column, y0 + 1, y1 - 2, 1, bound, both).value_or(y0 + 1);
            c.source.bottom =
                find_mark(on_column, y1 - 1, y0 + 1, -1, bound, both).value_or(y1 - 1) + 1;
            // A ruler without an anchor mark puts the hot spot on the sprite's first pixel.
            c.anchor.x = find_mark(on_row, x0 + 1, x1 - 2, 1, anchor, both).value_or(c.source.left);
            c.anchor.y =
                find_mark(on_column, y0 + 1, y1 - 2, 1, anchor, both).value_or(c.source.top);
            c.placement = c.source.offset(-c.anchor.x, -c.anchor.y);
            cells.push_back(c);
        }
    }
    return cells;
}

void SpriteSheet::make_tile_grid() {
    cells_.clear();
    cells_.reserve(kTileColumns * kTileRows);
    for (int left = 0; left < kTileColumns * kTile; left += kTile) {
        for (int top = 0; top < kTileRows * kTile; top += kTile) {
            SpriteCell c;
            c.source = {left, top, left + kTile, top + kTile};
            c.placement = {0, 0, kTile, kTile};
            cells_.push_back(c);
        }
    }
}

void SpriteSheet::blit_picture(Surface& target, int w, int h) const {
    if (surface_) blit(target, 0, 0, *surface_, {0, 0, w, h}, false);
}

void SpriteSheet::blit_region(Surface& target, int dx, int dy, int sx, int sy, int w, int h) const {
    if (surface_) blit(target, dx, dy, *surface_, {sx, sy, sx + w, sy + h}, false);
}

void SpriteSheet::draw_cell(Surface& target, int x, int y, int i, bool keyed) const {
    const SpriteCell* c = cell(i);
    if (!c || !surface_) return;
    blit(target, c->placement.left + x, c->placement.top + y, *surface_, c->source, keyed);
}

int SpriteSheet::cell_width(int i) const {
    const SpriteCell* c = cell(i);
    return c ? c->source.width() : 0;
}

}  // namespace gfx
