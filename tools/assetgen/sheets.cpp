#include "assetgen/sheets.h"

#include <cmath>
#include <string>

#include "assetgen/illustrations.h"

namespace assetgen {

namespace {

const pack::MarkerColours kMarkers{};
const uint32_t kKey = gfx::color_to_pixel(kMarkers.grid, gfx::PixelFormat{});

// Sheets addressed by rectangles carry their markers in their own corner pixels, so their
// marker colours are shades of the dark rim that every one of their tiles has.
constexpr uint32_t kRimColour = 0x100C08;
const pack::MarkerColours kRimMarkers{gfx::rgb(16, 12, 9), gfx::rgb(17, 12, 8), gfx::rgb(16, 13, 8),
                                      gfx::rgb(17, 13, 8), gfx::rgb(16, 12, 8)};

pack::SheetCell cell(const Image& img, gfx::Point anchor = {0, 0}) {
    return {img.to_sprite(kKey), anchor};
}

Image blank(int w, int h) {
    return Image(w, h, {}, 0.f);
}

struct GlyphStyle {
    float size;
    float outline;
    int height;
    int baseline;
    Rgb top, bottom, edge;
};

// One glyph: as wide as its advance plus a pixel each side for the outline, the pen's
// origin at the cell's left edge and the line's top at its top, so texts hang below their point.
Image glyph(const Font& font, char ch, const GlyphStyle& st) {
    const TextMask t = font.render(std::string(1, ch), st.size);
    const int width = static_cast<int>(std::lround(t.advance)) + 2;
    const Mask grown = dilate(t.mask, st.outline);
    const float cap = font.cap_height(st.size);
    Image out = blank(width, st.height);
    const int ox = t.origin_x - 1, oy = t.baseline - st.baseline;
    for (int y = 0; y < st.height; ++y) {
        const Rgb fill_c =
            mix(st.top, st.bottom, clamp01((static_cast<float>(y - st.baseline) + cap) / cap));
        for (int x = 0; x < width; ++x) {
            if (grown.at(x + ox, y + oy) < 0.5f) continue;
            out.at(x, y) = mix(st.edge, fill_c, t.mask.at(x + ox, y + oy));
            out.alpha(x, y) = 1.f;
        }
    }
    return out;
}

const GlyphStyle kGameFont{18.f, 1.5f, 21, 16, hex(0xFFFFFF), hex(0xFFE08A), hex(0x140C1C)};
const GlyphStyle kScriptFont{15.f, 1.2f, 19, 14, hex(0xFFFFFF), hex(0xCFE4FF), hex(0x0A0C1A)};

gfx::Surface font_sheet(const Font& sans) {
    std::vector<std::vector<pack::SheetCell>> rows;
    for (size_t i = 0; i < kFontCharacters.size(); ++i) {
        if (i % 10 == 0) rows.emplace_back();
        rows.back().push_back(cell(glyph(sans, kFontCharacters[i], kGameFont)));
    }
    return pack::compose_sheet(rows, kMarkers);
}

// One row: the loader counts cells over the whole ruler grid, and 127 cells fill no other.
gfx::Surface script_font_sheet(const Font& sans) {
    std::vector<std::vector<pack::SheetCell>> rows(1);
    for (int code = 0; code < kScriptFontCells; ++code) {
        // Codes below the space have no glyph: 1 x 1 cells of the transparent colour.
        rows[0].push_back(code < 32 ? pack::SheetCell{}
                                    : cell(glyph(sans, static_cast<char>(code), kScriptFont)));
    }
    return pack::compose_sheet(rows, kMarkers);
}

gfx::Surface menu_sheet(const SheetInputs& in) {
    std::vector<std::vector<pack::SheetCell>> rows(1);
    for (int i = 0; i < 7; ++i)
        rows[0].push_back(cell(paint_menu_highlight(*in.title, *in.fonts, i)));
    return pack::compose_sheet(rows, kMarkers);
}

Image switch_cell(const Font& sans, bool on, bool hot) {
    Image img = blank(47, 23);
    const Rgb a = on ? hex(0x50E070) : hex(0x706878), b = on ? hex(0x1A7A30) : hex(0x302838);
    fill_shaded(
        img, 0, 0, 47, 23,
        [](float px, float py) { return sd_box(px, py, 23.5f, 11.5f, 23.f, 11.f, 11.f); },
        [&](float, float py) { return mix(a, b, py / 23.f) * (hot ? 1.25f : 1.f); });
    stroke_round_rect(img, 1, 1, 45, 21, 10, hot ? 2.f : 1.2f, hot ? hex(0xFFE060) : hex(0x101018));
    const float kx = on ? 35.f : 12.f;
    fill_circle(img, kx, 11.5f, 8.f, hex(0x101018));
    fill_shaded(
        img, static_cast<int>(kx) - 9, 2, static_cast<int>(kx) + 9, 21,
        [&](float px, float py) { return sd_circle(px, py, kx, 11.5f, 7.f); },
        [&](float, float py) { return mix(hex(0xFFFFFF), hex(0xB0B8C8), (py - 4.f) / 15.f); });
    TextStyle s;
    s.outline = hex(0x101018);
    s.outline_width = 1.f;
    draw_text(img, sans, on ? "ON" : "OFF", 9.f, on ? 6.f : 22.f, 7.f, s);
    return img;
}

Image arrow_cell(bool right, bool hot) {
    Image img = blank(23, 23);
    const Rgb a = hot ? hex(0xFFD060) : hex(0x70A8FF), b = hot ? hex(0xC05010) : hex(0x20407A);
    fill_circle(img, 11.5f, 11.5f, 11.f, hex(0x0C0C18));
    fill_shaded(
        img, 0, 0, 23, 23, [](float px, float py) { return sd_circle(px, py, 11.5f, 11.5f, 9.8f); },
        [&](float, float py) { return mix(a, b, py / 23.f); });
    const float d = right ? 1.f : -1.f;
    fill_polygon(img, {{11.5f + 5.5f * d, 11.5f}, {11.5f - 4.f * d, 5.f}, {11.5f - 4.f * d, 18.f}},
                 hex(0xFFFFFF));
    return img;
}

Image back_cell(const Font& sans, bool hot) {
    Image img = blank(47, 23);
    const Rgb a = hot ? hex(0xFFE070) : hex(0x5A7AC0), b = hot ? hex(0xC06010) : hex(0x1A2A5A);
    fill_round_rect(img, 0, 0, 47, 23, 6, hex(0x0C0C18));
    fill_shaded(
        img, 0, 0, 47, 23,
        [](float px, float py) { return sd_box(px, py, 23.5f, 11.5f, 22.f, 10.f, 5.f); },
        [&](float, float py) { return mix(a, b, py / 23.f); });
    TextStyle s;
    s.outline = hex(0x101018);
    s.outline_width = 1.2f;
    s.top = hot ? hex(0xFFFFFF) : hex(0xF0F4FF);
    s.bottom = hot ? hex(0xFFF0C0) : hex(0xC0D0F0);
    draw_text_centred(img, sans, "BACK", 11.f, 23.5f, 6.f, s, 1.f, 0.5f);
    return img;
}

gfx::Surface grid_sheet(const std::vector<Image>& cells, size_t per_row,
                        const std::vector<gfx::Point>& anchors = {}) {
    std::vector<std::vector<pack::SheetCell>> rows;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i % per_row == 0) rows.emplace_back();
        rows.back().push_back(cell(cells[i], i < anchors.size() ? anchors[i] : gfx::Point{0, 0}));
    }
    return pack::compose_sheet(rows, kMarkers);
}

// Tile k of the thumbnail sheet: the reward's middle square, framed; hot ones glow gold.
void thumbnail(Image& sheet, const Image& reward, int x, int y, bool hot) {
    Image t = resample(reward, 80, 0, 480, 480, 76, 76);
    fill_rect(sheet, x, y, 80, 80, hex(kRimColour));
    fill_rect(sheet, x + 1, y + 1, 78, 78, hot ? hex(0xFFD050) : hex(0x3A3048));
    for (int j = 0; j < 76; ++j)
        for (int i = 0; i < 76; ++i)
            sheet.at(x + 2 + i, y + 2 + j) = t.at(i, j) * (hot ? 1.15f : 0.92f);
    if (hot)
        stroke_round_rect(sheet, static_cast<float>(x) + 3, static_cast<float>(y) + 3, 74, 74, 2,
                          1.f, hex(0xFFF8D0), 0.7f);
}

// A locked picture: a padlock, and "SCORE" over an arrow that points at the score printed
// under the frame, which opens it.
void lock_tile(Image& sheet, const Font& sans, int x, int y) {
    fill_rect(sheet, x, y, 80, 80, hex(kRimColour));
    for (int j = 1; j < 79; ++j)
        for (int i = 1; i < 79; ++i) {
            const float n = fbm(static_cast<float>(i) / 9.f, static_cast<float>(j) / 9.f, 401, 4);
            sheet.at(x + i, y + j) = mix(hex(0x1A1A26), hex(0x3A3A50), n);
        }
    const float cx = static_cast<float>(x) + 40, cy = static_cast<float>(y) + 30;
    stroke_circle(sheet, cx, cy - 9, 9, 4.5f, hex(0x9098A8));
    fill_round_rect(sheet, cx - 14, cy - 6, 28, 21, 4, hex(0xC8A040));
    fill_round_rect(sheet, cx - 11.5f, cy - 3.5f, 23, 16, 3, hex(0xE8C860));
    fill_circle(sheet, cx, cy + 2, 3, hex(0x302010));
    fill_rect(sheet, static_cast<int>(cx) - 1, static_cast<int>(cy) + 3, 3, 6, hex(0x302010));
    TextStyle s;
    s.top = hex(0xF0F4FF);
    s.bottom = hex(0xA8C0E8);
    s.outline = hex(0x101020);
    s.outline_width = 1.2f;
    draw_text_centred(sheet, sans, "SCORE", 11.f, cx, cy + 22.f, s, 1.f, 1.f);
    fill_polygon(sheet, {{cx - 7, cy + 38}, {cx + 7, cy + 38}, {cx, cy + 45}}, hex(0xE8C860));
}

gfx::Surface thumbnail_sheet(const SheetInputs& in) {
    Image sheet(320, 400, hex(0x141018));
    for (int k = 0; k < 8; ++k) {
        const int i = k % 4, j = k / 4;
        thumbnail(sheet, *in.rewards[static_cast<size_t>(k)], 80 * i, 80 * j, true);
        thumbnail(sheet, *in.rewards[static_cast<size_t>(k)], 80 * i, 160 + 80 * j, false);
    }
    lock_tile(sheet, *in.fonts->sans, 0, 320);
    fill_rect(sheet, 80, 320, 240, 80, hex(kRimColour));
    return pack::mark_picture_in_place(sheet.to_surface(), kRimMarkers);
}

gfx::Surface cover_sheet() {
    Image img(80, 80);
    paint_cover(img, 0, 0);
    return pack::mark_picture_in_place(img.to_surface(), kRimMarkers);
}

Image caption_panel() {
    Image img = blank(kCaptionPanelWidth, kCaptionPanelHeight);
    // Framed on the top and the sides; its bottom runs off the screen's lower edge.
    const float w = static_cast<float>(kCaptionPanelWidth),
                h = static_cast<float>(kCaptionPanelHeight) + 30.f;
    fill_shaded(
        img, 0, 0, kCaptionPanelWidth, kCaptionPanelHeight,
        [&](float px, float py) { return sd_box(px, py, w / 2, h / 2 + 2, w / 2 - 3, h / 2, 14); },
        [&](float px, float py) {
            const float n = fbm(px / 30.f, py / 30.f, 411, 3);
            return mix(hex(0x101838), hex(0x1C2A58), py / 150.f) * (0.85f + 0.3f * n);
        });
    stroke_round_rect(img, 3, 2, w - 6, h, 14, 3.f, hex(0xD8B060));
    stroke_round_rect(img, 8, 7, w - 16, h, 10, 1.f, hex(0xF0E0B0), 0.5f);
    return img;
}

gfx::Surface stage_numbers(const Font& serif) {
    std::vector<Image> cells;
    for (int n = 0; n <= 5; ++n) {
        Image img = blank(60, 40);
        const float hue = 0.08f + 0.15f * static_cast<float>(n);
        fill_round_rect(img, 0, 0, 60, 40, 9, hex(0x0C0C18));
        fill_shaded(
            img, 0, 0, 60, 40,
            [](float px, float py) { return sd_box(px, py, 30, 20, 28.f, 18.f, 8.f); },
            [&](float, float py) {
                return mix(hsv(hue, 0.55f, 1.f), hsv(hue, 0.9f, 0.45f), py / 40.f);
            });
        fill_round_rect(img, 5, 4, 50, 12, 6, hex(0xFFFFFF), 0.25f);
        TextStyle s;
        s.outline = hex(0x140C08);
        s.outline_width = 2.f;
        s.top = hex(0xFFFFFF);
        s.bottom = hex(0xFFE8A0);
        draw_text_centred(img, serif, std::to_string(n), 30.f, 30.f,
                          20.f - serif.cap_height(30.f) / 2, s);
        cells.push_back(std::move(img));
    }
    return grid_sheet(cells, 6);
}

gfx::Surface cursor_sheet() {
    Image arrow = blank(16, 24), grab = blank(22, 20), point = blank(19, 25);
    paint_pointer(arrow, 0, 1, 1);
    paint_pointer(grab, 1, 11, 10);
    paint_pointer(point, 2, 7, 1);
    return grid_sheet({arrow, grab, point}, 3, {{1, 1}, {11, 10}, {7, 1}});
}

gfx::Surface marks_sheet() {
    std::vector<Image> cells;
    for (int i = 0; i < 4; ++i) {
        Image img = blank(80, 80);
        paint_mark(img, i, 0, 0);
        cells.push_back(std::move(img));
    }
    return grid_sheet(cells, 2);
}

gfx::Surface illustration_sheet(const SheetInputs& in) {
    const std::vector<Image> cells = paint_illustrations(*in.fonts, in.rewards);
    return grid_sheet(cells, 2);
}

}  // namespace

void paint_cover(Image& img, int x, int y) {
    const float ox = static_cast<float>(x), oy = static_cast<float>(y);
    fill_rect(img, x, y, 80, 80, hex(kRimColour));
    fill_shaded(
        img, x + 1, y + 1, x + 79, y + 79,
        [&](float px, float py) { return sd_box(px, py, ox + 40, oy + 40, 39, 39); },
        [&](float px, float py) {
            const float stripe = std::fmod(std::abs(px - ox + py - oy), 16.f) < 8.f ? 1.f : 0.82f;
            return mix(hex(0x5A2A8A), hex(0x2A1450), (py - oy) / 80.f) * stripe;
        });
    stroke_round_rect(img, ox + 4, oy + 4, 72, 72, 6, 2.f, hex(0xE8B850));
    for (float cx : {10.f, 70.f})
        for (float cy : {10.f, 70.f}) fill_circle(img, ox + cx, oy + cy, 3, hex(0xF0D080));
    fill_circle(img, ox + 40, oy + 40, 22, hex(0x140A24), 0.6f);
    // A question mark: a hook of short strokes, a stem and a dot.
    std::vector<Vec2> hook;
    for (int k = 0; k <= 10; ++k) {
        const float a = 3.5f - static_cast<float>(k) * 0.42f;
        hook.push_back({ox + 40 + 9.f * std::cos(a), oy + 33 - 9.f * std::sin(a)});
    }
    hook.push_back({ox + 40, oy + 45});
    for (const auto& [w, c] : {std::pair{8.f, hex(0x1A0C04)}, std::pair{4.5f, hex(0xFFE070)}}) {
        for (size_t k = 0; k + 1 < hook.size(); ++k)
            draw_line(img, hook[k].x, hook[k].y, hook[k + 1].x, hook[k + 1].y, w, c);
        fill_circle(img, ox + 40, oy + 54, w / 2 + 1.f, c);
    }
}

void paint_mark(Image& img, int i, int x, int y) {
    static const uint32_t kColours[] = {0xFF5A50, 0x50A8FF, 0x50E070, 0xFFD040};
    const Rgb c = hex(kColours[i % 4]), dark = hex(0x0C0C14);
    const float ox = static_cast<float>(x), oy = static_cast<float>(y);
    // Corner brackets, an outline under each stroke so it reads on any piece or board.
    for (float sx : {0.f, 1.f})
        for (float sy : {0.f, 1.f}) {
            const float cx = ox + 5 + sx * 70, cy = oy + 5 + sy * 70;
            const float dx = sx > 0 ? -16.f : 16.f, dy = sy > 0 ? -16.f : 16.f;
            draw_line(img, cx, cy, cx + dx, cy, 6, dark);
            draw_line(img, cx, cy, cx, cy + dy, 6, dark);
            draw_line(img, cx, cy, cx + dx, cy, 3.5f, c);
            draw_line(img, cx, cy, cx, cy + dy, 3.5f, c);
        }
    const float cx = ox + 40, cy = oy + 40;
    std::vector<Vec2> shape;
    switch (i % 4) {
        case 0:
            stroke_circle(img, cx, cy, 14, 7, dark);
            stroke_circle(img, cx, cy, 14, 4, c);
            return;
        case 1:
            shape = {{cx, cy - 17}, {cx + 17, cy}, {cx, cy + 17}, {cx - 17, cy}};
            break;
        case 2:
            shape = {{cx, cy - 16}, {cx + 17, cy + 13}, {cx - 17, cy + 13}};
            break;
        default:
            for (int k = 0; k < 10; ++k) {
                const float a = -1.5708f + static_cast<float>(k) * 0.6283f,
                            r = k % 2 == 0 ? 18.f : 8.f;
                shape.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
            }
    }
    for (size_t k = 0; k < shape.size(); ++k) {
        const Vec2 a = shape[k], b = shape[(k + 1) % shape.size()];
        draw_line(img, a.x, a.y, b.x, b.y, 6.5f, dark);
    }
    for (size_t k = 0; k < shape.size(); ++k) {
        const Vec2 a = shape[k], b = shape[(k + 1) % shape.size()];
        draw_line(img, a.x, a.y, b.x, b.y, 3.5f, c);
    }
}

void paint_pointer(Image& img, int kind, float x, float y) {
    const Rgb ink = hex(0x080808), paper = hex(0xFFFFFF), skin = hex(0xFFE0C0);
    auto outlined_polygon = [&](std::vector<Vec2> p, Rgb fill_c) {
        float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
        for (Vec2& v : p) {
            v = {v.x + x, v.y + y};
            x0 = std::min(x0, v.x), y0 = std::min(y0, v.y), x1 = std::max(x1, v.x),
            y1 = std::max(y1, v.y);
        }
        fill(
            img, static_cast<int>(x0) - 3, static_cast<int>(y0) - 3, static_cast<int>(x1) + 4,
            static_cast<int>(y1) + 4,
            [&](float px, float py) { return sd_polygon(px, py, p) - 1.1f; }, ink);
        fill_polygon(img, p, fill_c);
    };
    auto outlined_box = [&](float bx, float by, float w, float h, float r, Rgb fill_c) {
        fill_round_rect(img, x + bx - 1.1f, y + by - 1.1f, w + 2.2f, h + 2.2f, r + 1.1f, ink);
        fill_round_rect(img, x + bx, y + by, w, h, r, fill_c);
    };
    switch (kind) {
        case 0:
            outlined_polygon(
                {{0, 0}, {0, 18}, {4.5f, 14}, {8, 21.5f}, {11, 20}, {7.5f, 13}, {13, 13}}, paper);
            break;
        case 1:
            // A closed hand seen from the back: a palm and four knuckles.
            outlined_box(-9, -4, 18, 13, 5, skin);
            for (int k = 0; k < 4; ++k)
                outlined_box(-9.f + 4.5f * static_cast<float>(k), -8, 4.5f, 7, 2, skin);
            outlined_box(-10, 0, 5, 7, 2, skin);
            break;
        default:
            outlined_box(-2, 0, 5, 13, 2.4f, skin);
            outlined_box(-3, 9, 14, 13, 4, skin);
            for (int k = 0; k < 3; ++k)
                outlined_box(3.f + 3.f * static_cast<float>(k), 7, 3, 5, 1.4f, skin);
            outlined_box(-6, 11, 5, 6, 2, skin);
            break;
    }
}

std::vector<int> script_font_widths(const Font& sans) {
    std::vector<int> widths(kScriptFontCells, 1);
    for (int code = 32; code < kScriptFontCells; ++code)
        widths[static_cast<size_t>(code)] =
            glyph(sans, static_cast<char>(code), kScriptFont).width();
    return widths;
}

std::vector<int> game_font_widths(const Font& sans) {
    std::vector<int> widths;
    for (char ch : kFontCharacters) widths.push_back(glyph(sans, ch, kGameFont).width());
    return widths;
}

std::vector<gfx::Surface> build_sheet_pieces(const SheetInputs& in) {
    const Font& sans = *in.fonts->sans;
    std::vector<gfx::Surface> p;
    p.push_back(menu_sheet(in));
    p.push_back(grid_sheet({switch_cell(sans, true, false), switch_cell(sans, true, true),
                            switch_cell(sans, false, false), switch_cell(sans, false, true)},
                           2));
    p.push_back(grid_sheet({arrow_cell(false, false), arrow_cell(false, true),
                            arrow_cell(true, false), arrow_cell(true, true)},
                           2));
    p.push_back(marks_sheet());
    p.push_back(cover_sheet());
    p.push_back(thumbnail_sheet(in));
    p.push_back(grid_sheet({back_cell(sans, false), back_cell(sans, true)}, 2));
    p.push_back(grid_sheet({caption_panel()}, 1));
    p.push_back(illustration_sheet(in));
    p.push_back(font_sheet(sans));
    p.push_back(script_font_sheet(sans));
    p.push_back(stage_numbers(*in.fonts->serif));
    p.push_back(cursor_sheet());
    return p;
}

}  // namespace assetgen
