#include "packwriter/packwriter.h"

#include <algorithm>
#include <string_view>

#include "gfx/archive.h"
#include "gfx/bmp.h"
#include "platform/file_io.h"

namespace pack {

namespace {

uint32_t px(gfx::ColorRef c) {
    return gfx::color_to_pixel(c, gfx::PixelFormat{});
}

struct Box {
    int width;  // pixels between the rulers
    int height;
    int ox, oy;  // where the sprite's top-left lies inside the box
};

// The box a cell needs between its rulers: the sprite and its anchor inside, with the
// anchor and the left bound no further right than the loader's forward scans reach (one
// pixel short of the next ruler). Sprites anchored at their top-left need no spare pixel.
Box box_for(const SheetCell& c) {
    const int w = std::max(c.pixels.width(), 1);
    const int h = std::max(c.pixels.height(), 1);
    const int ox = std::max(0, -c.anchor.x);
    const int oy = std::max(0, -c.anchor.y);
    const int width = std::max({ox + w, ox + c.anchor.x + 2, w > 1 ? ox + 2 : ox + 1});
    const int height = std::max({oy + h, oy + c.anchor.y + 2, h > 1 ? oy + 2 : oy + 1});
    return {width, height, ox, oy};
}

}  // namespace

gfx::Surface compose_sheet(const std::vector<std::vector<SheetCell>>& rows,
                           const MarkerColours& colours) {
    size_t columns = 0;
    for (const auto& row : rows) columns = std::max(columns, row.size());
    std::vector<int> col_w(columns, 2), row_h(rows.size(), 5);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t k = 0; k < rows[r].size(); ++k) {
            const Box b = box_for(rows[r][k]);
            col_w[k] = std::max(col_w[k], b.width);
            row_h[r] = std::max(row_h[r], b.height);
        }
    }
    std::vector<int> xs{0}, ys{0};
    for (int w : col_w) xs.push_back(xs.back() + w + 1);
    for (int h : row_h) ys.push_back(ys.back() + h + 1);
    const int W = xs.back() + 1;
    const int H = std::max(ys.back() + 1, 5);

    const uint32_t grid = px(colours.grid), ruler = px(colours.ruler), anchor = px(colours.anchor),
                   bound = px(colours.bound), both = px(colours.both);
    gfx::Surface s(W, H, grid);
    for (int x = 0; x < W; ++x)
        for (int y : ys)
            if (y < H) s.set_pixel(x, y, ruler);
    for (int y = 0; y < H; ++y)
        for (int x : xs) s.set_pixel(x, y, ruler);
    for (int x : xs) s.set_pixel(x, 0, grid);
    for (int y : ys)
        if (y < H) s.set_pixel(0, y, grid);
    s.set_pixel(W - 1, 0, grid);
    s.set_pixel(W - 1, 1, ruler);
    s.set_pixel(W - 1, 2, anchor);
    s.set_pixel(W - 1, 3, bound);
    s.set_pixel(W - 1, 4, both);

    auto mark = [&](int x, int y, bool is_anchor) {
        const uint32_t now = s.pixel(x, y);
        const bool has_bound = now == bound || now == both;
        const bool has_anchor = now == anchor || now == both;
        const bool b = has_bound || !is_anchor;
        const bool a = has_anchor || is_anchor;
        s.set_pixel(x, y, (a && b) ? both : a ? anchor : bound);
    };
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t k = 0; k < columns; ++k) {
            const int x0 = xs[k], y0 = ys[r];
            if (k >= rows[r].size() || rows[r][k].pixels.empty()) {
                mark(x0 + 1, y0, false);
                mark(x0, y0 + 1, false);
                mark(x0 + 1, y0, true);
                mark(x0, y0 + 1, true);
                continue;
            }
            const SheetCell& c = rows[r][k];
            const Box b = box_for(c);
            const int sx = x0 + 1 + b.ox, sy = y0 + 1 + b.oy;
            for (int y = 0; y < c.pixels.height(); ++y) {
                for (int x = 0; x < c.pixels.width(); ++x) {
                    uint32_t v = c.pixels.pixel(x, y) & 0xFFFFFFu;
                    if (v != grid && (v == ruler || v == anchor || v == bound || v == both)) {
                        v = (v & 0xFFFF00u) | ((v & 0xFFu) ^ 1u);
                    }
                    s.set_pixel(sx + x, sy + y, v);
                }
            }
            mark(sx, y0, false);
            mark(sx + c.pixels.width() - 1, y0, false);
            mark(x0, sy, false);
            mark(x0, sy + c.pixels.height() - 1, false);
            mark(sx + c.anchor.x, y0, true);
            mark(x0, sy + c.anchor.y, true);
        }
    }
    return s;
}

gfx::Surface mark_picture_in_place(gfx::Surface s, const MarkerColours& colours) {
    const int W = s.width(), H = s.height();
    const uint32_t grid = px(colours.grid);
    const uint32_t markers[] = {grid, px(colours.anchor), px(colours.bound), px(colours.both)};
    auto is_marker = [&](uint32_t v) {
        for (uint32_t m : markers)
            if (v == m) return true;
        return false;
    };
    auto nudge = [&](int x, int y) {
        const uint32_t original = s.pixel(x, y) & 0xFFFFFFu;
        uint32_t v = original;
        for (uint32_t bit = 1; is_marker(v); bit <<= 1) v = original ^ bit;
        s.set_pixel(x, y, v);
    };
    for (int x = 0; x < W; ++x) nudge(x, 0);
    for (int y = 0; y < H; ++y) nudge(0, y);
    s.set_pixel(0, 0, grid);
    s.set_pixel(W - 1, 0, grid);
    s.set_pixel(0, H - 1, grid);
    s.set_pixel(W - 1, 1, px(colours.ruler));
    s.set_pixel(W - 1, 2, px(colours.anchor));
    s.set_pixel(W - 1, 3, px(colours.bound));
    s.set_pixel(W - 1, 4, px(colours.both));
    return s;
}

platform::Result<std::vector<uint8_t>> encode_bmp_exact(const gfx::Surface& picture,
                                                        uint32_t size) {
    const uint32_t natural = gfx::bmp24_size(picture.width(), picture.height());
    if (natural > size) {
        return platform::fail(
            platform::ErrorKind::TooLarge,
            "the picture needs " + std::to_string(natural) + " bytes, not " + std::to_string(size));
    }
    return gfx::encode_bmp24(picture, size - natural);
}

platform::Result<std::vector<uint8_t>> build_picture_archive(
    const std::vector<gfx::Surface>& pictures) {
    if (pictures.size() != static_cast<size_t>(gfx::kPictureCount)) {
        return platform::fail(platform::ErrorKind::Invalid,
                              "the picture archive needs exactly 19 pictures");
    }
    uint32_t length = 0;
    for (const auto& p : pictures)
        length = std::max(length, gfx::bmp24_size(p.width(), p.height()));
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(length) * pictures.size());
    // Each slice is written straight into the archive, padded to the longest.
    for (const auto& p : pictures) {
        gfx::append_bmp24(out, p, length - gfx::bmp24_size(p.width(), p.height()));
    }
    return out;
}

platform::Result<std::vector<uint8_t>> build_sheet_archive(
    const std::vector<gfx::Surface>& pieces) {
    if (pieces.size() != static_cast<size_t>(gfx::kPieceCount)) {
        return platform::fail(platform::ErrorKind::Invalid,
                              "the sheet archive needs exactly 13 pieces");
    }
    std::vector<uint8_t> out;
    out.reserve(gfx::kPieceTable.back().end);
    for (size_t i = 0; i < pieces.size(); ++i) {
        const auto range = gfx::kPieceTable[i];
        const uint32_t natural = gfx::bmp24_size(pieces[i].width(), pieces[i].height());
        if (natural > range.size()) {
            return platform::fail(platform::ErrorKind::TooLarge,
                                  "piece " + std::to_string(i) + " (" +
                                      std::to_string(pieces[i].width()) + " x " +
                                      std::to_string(pieces[i].height()) + ") does not fit its " +
                                      std::to_string(range.size()) + " bytes");
        }
        gfx::append_bmp24(out, pieces[i], range.size() - natural);
    }
    return out;
}

platform::Result<void> write_file_atomically(const std::string& path,
                                             const std::vector<uint8_t>& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    auto replaced = platform::replace_file(path, text);
    if (!replaced) return replaced.error();
    return {};
}

}  // namespace pack
