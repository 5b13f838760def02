#include <algorithm>

#include "assetgen/pack_builder.h"
#include "assetgen/stb_io.h"
#include "gfx/sprite_sheet.h"

namespace assetgen {

namespace {

const char* const kPieceNames[] = {"menu",          "switches",   "arrows",      "marks",
                                   "cover",         "thumbnails", "back",        "caption-panel",
                                   "illustrations", "font",       "script-font", "stage-numbers",
                                   "cursor"};

bool write_png(const std::filesystem::path& path, const gfx::Surface& s, int scale) {
    const int w = s.width() * scale, h = s.height() * scale;
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = s.pixel(x / scale, y / scale);
            unsigned char* o = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            o[0] = static_cast<unsigned char>(p >> 16);
            o[1] = static_cast<unsigned char>(p >> 8);
            o[2] = static_cast<unsigned char>(p);
        }
    return assetgen_write_png(path.string().c_str(), w, h, rgb.data()) != 0;
}

void outline(gfx::Surface& s, const gfx::Rect& r, uint32_t colour) {
    auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < s.width() && y < s.height()) s.set_pixel(x, y, colour);
    };
    for (int x = r.left - 1; x <= r.right; ++x) {
        put(x, r.top - 1);
        put(x, r.bottom);
    }
    for (int y = r.top - 1; y <= r.bottom; ++y) {
        put(r.left - 1, y);
        put(r.right, y);
    }
}

// The sheet as the game sees it: transparent pixels as a checkerboard, each cell framed in
// cyan with its anchor in red; sheets drawn by rectangles show their 80-pixel tiles.
gfx::Surface sheet_view(int piece, const gfx::Surface& sheet) {
    gfx::Surface s = sheet;
    const uint32_t key = sheet.pixel(sheet.width() - 1, 0) & 0xFFFFFFu;
    const auto cells = gfx::scan_marked_cells(sheet);
    const bool by_rectangles = piece == 4 || piece == 5;
    if (!by_rectangles) {
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if ((s.pixel(x, y) & 0xFFFFFFu) == key)
                    s.set_pixel(x, y, ((x / 4 + y / 4) % 2) ? 0x9A9A9Au : 0x6A6A6Au);
    }
    if (by_rectangles) {
        for (int y = 0; y + 80 <= s.height(); y += 80)
            for (int x = 0; x + 80 <= s.width(); x += 80)
                outline(s, {x + 1, y + 1, x + 79, y + 79}, 0x00FFFFu);
    } else if (cells) {
        for (const auto& c : *cells) outline(s, c.source, 0x00FFFFu);
        for (const auto& c : *cells)
            if (c.anchor.x >= 0 && c.anchor.y >= 0 && c.anchor.x < s.width() &&
                c.anchor.y < s.height())
                s.set_pixel(c.anchor.x, c.anchor.y, 0xFF0000u);
    }
    return s;
}

}  // namespace

bool write_previews(const std::filesystem::path& dir, const Artwork& art, std::string* why) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    char name[64];
    for (size_t n = 0; n < art.pictures.size(); ++n) {
        std::snprintf(name, sizeof name, "picture-%02zu.png", n);
        if (!write_png(dir / name, art.pictures[n], 1)) {
            if (why) *why = "cannot write " + (dir / name).string();
            return false;
        }
    }
    for (size_t p = 0; p < art.pieces.size(); ++p) {
        const gfx::Surface view = sheet_view(static_cast<int>(p), art.pieces[p]);
        const int scale = std::clamp(320 / std::max(view.width(), 1), 1, 6);
        std::snprintf(name, sizeof name, "piece-%02zu-%s.png", p, kPieceNames[p]);
        if (!write_png(dir / name, view, scale)) {
            if (why) *why = "cannot write " + (dir / name).string();
            return false;
        }
    }
    return true;
}

}  // namespace assetgen
