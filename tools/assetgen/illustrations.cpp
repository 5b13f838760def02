#include "assetgen/illustrations.h"

#include <cmath>
#include <string>

#include "assetgen/sheets.h"

namespace assetgen {

namespace {

// Every illustration is a picture in a frame: gold moulding, a dark slip inside it, so that
// nothing in it is taken for the screen's own pointer or controls.
Image frame() {
    Image img(kIllustrationWidth, kIllustrationHeight, {}, 0.f);
    fill_shaded(
        img, 0, 0, kIllustrationWidth, kIllustrationHeight,
        [](float px, float py) {
            return sd_box(px, py, kIllustrationWidth / 2.f, kIllustrationHeight / 2.f,
                          kIllustrationWidth / 2.f - 1, kIllustrationHeight / 2.f - 1, 14);
        },
        [](float px, float py) {
            return mix(hex(0x142048), hex(0x0A1028), py / kIllustrationHeight) *
                   (0.9f + 0.2f * fbm(px / 40.f, py / 40.f, 501, 3));
        });
    stroke_round_rect(img, 3, 3, kIllustrationWidth - 6.f, kIllustrationHeight - 6.f, 12, 5.f,
                      hex(0xD8B060));
    stroke_round_rect(img, 1.5f, 1.5f, kIllustrationWidth - 3.f, kIllustrationHeight - 3.f, 14,
                      1.5f, hex(0x5A4018));
    stroke_round_rect(img, 7.5f, 7.5f, kIllustrationWidth - 15.f, kIllustrationHeight - 15.f, 9,
                      2.f, hex(0x060A18), 0.8f);
    stroke_round_rect(img, 9.5f, 9.5f, kIllustrationWidth - 19.f, kIllustrationHeight - 19.f, 8,
                      1.f, hex(0xF0E0B0), 0.25f);
    return img;
}

// A click drawn as a picture of one: rings spreading from the spot and a broad gold arrow,
// unlike the game's white pointer.
void click_mark(Image& img, float x, float y) {
    for (int k = 0; k < 3; ++k)
        stroke_circle(img, x, y, 7.f + 6.f * static_cast<float>(k), 2.f, hex(0xFFE070),
                      0.8f - 0.22f * static_cast<float>(k));
    const float ax = x + 10.f, ay = y + 10.f;
    const std::vector<Vec2> arrow = {{ax, ay},           {ax + 22, ay + 8},  {ax + 13, ay + 13},
                                     {ax + 24, ay + 24}, {ax + 19, ay + 29}, {ax + 8, ay + 18},
                                     {ax + 3, ay + 27}};
    for (size_t k = 0; k < arrow.size(); ++k) {
        const Vec2 a = arrow[k], b = arrow[(k + 1) % arrow.size()];
        draw_line(img, a.x, a.y, b.x, b.y, 4.f, hex(0x2A1408));
    }
    fill_polygon(img, arrow, hex(0xF0B040));
}

TextStyle caption_style(float hue = 0.13f) {
    TextStyle s;
    s.top = hsv(hue, 0.1f, 1.f);
    s.bottom = hsv(hue, 0.5f, 1.f);
    s.outline = hex(0x0A0A14);
    s.outline_width = 1.5f;
    return s;
}

// A square piece of a reward picture, `size` wide, taken from the 80 x 80 cell (col, row).
void piece(Image& img, const Image& reward, int col, int row, float x, float y, float size,
           float brightness = 1.f) {
    const Image tile = resample(reward, static_cast<float>(col * 80), static_cast<float>(row * 80),
                                80, 80, static_cast<int>(size), static_cast<int>(size));
    fill_rect(img, static_cast<int>(x) + 3, static_cast<int>(y) + 4, static_cast<int>(size),
              static_cast<int>(size), hex(0x000000), 0.45f);
    for (int j = 0; j < tile.height(); ++j)
        for (int i = 0; i < tile.width(); ++i)
            img.blend(static_cast<int>(x) + i, static_cast<int>(y) + j, tile.at(i, j) * brightness,
                      1.f);
}

// A small board of cols x rows cells of 40 pixels, filled with pieces except the listed gaps.
void mini_board(Image& img, const Image& reward, float x, float y, int cols, int rows,
                const std::vector<int>& gaps) {
    fill_rect(img, static_cast<int>(x) - 3, static_cast<int>(y) - 3, cols * 40 + 6, rows * 40 + 6,
              hex(0x183828));
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r) {
            const float px = x + static_cast<float>(c * 40), py = y + static_cast<float>(r * 40);
            bool gap = false;
            for (int g : gaps) gap = gap || g == c * rows + r;
            if (gap) {
                fill_rect(img, static_cast<int>(px), static_cast<int>(py), 40, 40, hex(0x244C36));
                stroke_round_rect(img, px + 1, py + 1, 38, 38, 2, 1.f, hex(0x80C0A0), 0.6f);
            } else {
                const Image tile = resample(reward, static_cast<float>((c + 2) * 80),
                                            static_cast<float>((r + 1) * 80), 80, 80, 40, 40);
                for (int j = 0; j < 40; ++j)
                    for (int i = 0; i < 40; ++i)
                        img.blend(static_cast<int>(px) + i, static_cast<int>(py) + j, tile.at(i, j),
                                  1.f);
            }
        }
}

void dashed_arrow(Image& img, float ax, float ay, float bx, float by, Rgb c) {
    const float len = std::hypot(bx - ax, by - ay), ux = (bx - ax) / len, uy = (by - ay) / len;
    for (float t = 0; t < len - 14; t += 12) {
        const float e = std::min(t + 7, len - 14);
        draw_line(img, ax + ux * t, ay + uy * t, ax + ux * e, ay + uy * e, 3, c);
    }
    fill_polygon(img,
                 {{bx, by},
                  {bx - ux * 14 - uy * 8, by - uy * 14 + ux * 8},
                  {bx - ux * 14 + uy * 8, by - uy * 14 - ux * 8}},
                 c);
}

void popup(Image& img, const Font& sans, const std::string& text, float x, float y) {
    draw_text(img, sans, text, 17, x, y, caption_style(0.15f));
}

void keycap(Image& img, const Font& sans, const char* label, float x, float y, float w) {
    fill_round_rect(img, x + 2, y + 5, w, 44, 8, hex(0x000000), 0.5f);
    fill_round_rect(img, x, y, w, 44, 8, hex(0x9098A8));
    fill_shaded(
        img, static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + w),
        static_cast<int>(y + 40),
        [&](float px, float py) { return sd_box(px, py, x + w / 2, y + 18, w / 2 - 5, 15, 6); },
        [&](float, float py) { return mix(hex(0xF4F6FA), hex(0xC8CCD8), (py - y) / 36.f); });
    TextStyle s;
    s.top = hex(0x202838);
    s.bottom = hex(0x404860);
    draw_text_centred(img, sans, label, 14, x + w / 2, y + 11, s);
}

Image drag(const Fonts& f, const Image& reward) {
    Image img = frame();
    mini_board(img, reward, 24, 40, 4, 3, {5, 6});
    piece(img, reward, 4, 1, 278, 52, 40);
    paint_pointer(img, 1, 300, 72);
    dashed_arrow(img, 270, 70, 150, 62, hex(0xFFE070));
    draw_text(img, *f.sans, "DRAG", 16, 300, 150, caption_style());
    return img;
}

Image snap(const Fonts& f, const Image& reward) {
    Image img = frame();
    mini_board(img, reward, 24, 40, 4, 3, {6});
    piece(img, reward, 4, 1, 104, 40, 40, 1.2f);
    for (int k = 0; k < 8; ++k) {
        const float a = static_cast<float>(k) * 0.785f;
        draw_line(img, 124 + 30 * std::cos(a), 60 + 30 * std::sin(a), 124 + 40 * std::cos(a),
                  60 + 40 * std::sin(a), 3, hex(0xFFF0A0));
    }
    popup(img, *f.sans, "+75", 250, 70);
    draw_text(img, *f.sans, "SNAP!", 22, 250, 120, caption_style(0.1f));
    return img;
}

Image chain(const Fonts& f, const Image& reward) {
    Image img = frame();
    mini_board(img, reward, 24, 40, 4, 3, {});
    const char* texts[] = {"+50", "+56", "+62", "+68"};
    for (int k = 0; k < 4; ++k)
        popup(img, *f.sans, texts[k], 210 + 52.f * static_cast<float>(k),
              130 - 24.f * static_cast<float>(k));
    draw_text(img, *f.sans, "RENSA  3", 20, 230, 160, caption_style(0.0f));
    return img;
}

Image bonus(const Fonts& f) {
    Image img = frame();
    // Clear of the frame's inner line, 10 pixels in.
    paint_cover(img, 14, 80);
    for (int i = 0; i < 4; ++i) {
        fill_rect(img, 104 + 80 * i, 80, 80, 80, hex(0x1C4430));
        paint_mark(img, i, 104 + 80 * i, 80);
    }
    draw_text_centred(img, *f.sans, "COVER", 14, 54, 52, caption_style());
    draw_text_centred(img, *f.sans, "THE FOUR MARKS", 14, 264, 52, caption_style());
    return img;
}

Image keys(const Fonts& f) {
    Image img = frame();
    keycap(img, *f.sans, "CTRL", 30, 60, 90);
    keycap(img, *f.sans, "SHIFT", 150, 60, 100);
    keycap(img, *f.sans, "SPACE", 280, 60, 130);
    draw_text_centred(img, *f.sans, "LOOSE", 13, 75, 130, caption_style(0.55f));
    draw_text_centred(img, *f.sans, "PLACED", 13, 200, 130, caption_style(0.55f));
    draw_text_centred(img, *f.sans, "PAUSE", 13, 345, 130, caption_style(0.55f));
    return img;
}

Image gallery(const Fonts& f, const std::array<const Image*, 8>& rewards) {
    Image img = frame();
    for (int k = 0; k < 4; ++k) {
        const float x = 30 + 100.f * static_cast<float>(k), y = 50;
        fill_rect(img, static_cast<int>(x) - 4, static_cast<int>(y) - 4, 88, 88, hex(0xC8A050));
        if (k < 2) {
            const Image t = resample(*rewards[static_cast<size_t>(k)], 80, 0, 480, 480, 80, 80);
            img.draw(t, static_cast<int>(x), static_cast<int>(y));
        } else {
            fill_rect(img, static_cast<int>(x), static_cast<int>(y), 80, 80, hex(0x262636));
            stroke_circle(img, x + 40, y + 32, 10, 5, hex(0x9098A8));
            fill_round_rect(img, x + 24, y + 36, 32, 24, 4, hex(0xE0C060));
        }
    }
    click_mark(img, 92, 100);
    const char* thresholds[] = {"10000", "15000", "20000", "30000"};
    for (int k = 0; k < 4; ++k)
        draw_text_centred(img, *f.sans, thresholds[k], 14, 70 + 100.f * static_cast<float>(k), 150,
                          caption_style());
    return img;
}

}  // namespace

std::vector<Image> paint_illustrations(const Fonts& f, const std::array<const Image*, 8>& rewards) {
    const Image& r = *rewards[0];
    return {drag(f, r), snap(f, r), chain(f, r), bonus(f), keys(f), gallery(f, rewards)};
}

}  // namespace assetgen
