#include "assetgen/screens.h"

#include <cmath>
#include <string>

#include "assetgen/screen_layout.h"
#include "assetgen/sheets.h"
#include "scenes/gallery_scene.h"
#include "scenes/high_score_scene.h"
#include "scenes/music_test_scene.h"
#include "scenes/options_scene.h"
#include "scenes/title_scene.h"

namespace assetgen {

namespace {

// The jigsaw seams that decorate the backgrounds: an 80-pixel grid whose every edge has a
// round tab in its middle, alternating sides.
float jigsaw_distance(float px, float py, float cell) {
    const float gx = std::round(px / cell) * cell, gy = std::round(py / cell) * cell;
    auto edge = [&](float along, float across, float line, float index) {
        const float mid = (std::floor(along / cell) + 0.5f) * cell;
        const float side =
            std::fmod(std::abs(index + std::floor(along / cell)), 2.f) < 1.f ? 1.f : -1.f;
        const float r = cell * 0.13f;
        const float cx = line + side * r * 0.8f;
        const float dline = std::abs(std::abs(along - mid) < r * 0.85f ? 1e9f : across - line);
        const float dcirc = std::abs(std::hypot(across - cx, along - mid) - r);
        const bool outside_chord = (across - line) * side > -r * 0.2f;
        return std::min(std::abs(dline), outside_chord ? dcirc : 1e9f);
    };
    const float dv = edge(py, px, gx, gx / cell);
    const float dh = edge(px, py, gy, gy / cell + 1.f);
    return std::min(dv, dh);
}

// The common backdrop of the front-end screens: a deep gradient in the screen's own hue,
// soft lights, jigsaw seams and grain.
Image backdrop(float hue, uint32_t seed) {
    Image img(kScreenWidth, kScreenHeight);
    const Rgb top = hsv(hue, 0.7f, 0.22f), bottom = hsv(hue + 0.08f, 0.8f, 0.42f);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const float n = fbm(fx(x) / 110.f, fx(y) / 110.f, seed, 4);
            Rgb c = mix(top, bottom, fx(y) / kScreenHeight) * (0.75f + 0.5f * n);
            const float seam = jigsaw_distance(fx(x) + 0.5f, fx(y) + 0.5f, 80.f);
            c = c + hsv(hue + 0.1f, 0.4f, 0.9f) * (0.10f * coverage(seam - 0.7f));
            img.at(x, y) = c;
        }
    for (int i = 0; i < 24; ++i) {
        const float x = fx(kScreenWidth) * hash01(i, 0, seed + 1),
                    y = fx(kScreenHeight) * hash01(i, 1, seed + 1);
        fill_circle(img, x, y, 10.f + 40.f * hash01(i, 2, seed + 1),
                    hsv(hue + 0.2f * hash01(i, 3, seed), 0.5f, 1.f),
                    0.05f + 0.05f * hash01(i, 4, seed + 1));
    }
    vignette(img, 0.45f);
    add_grain(img, seed + 2, 0.025f);
    return img;
}

TextStyle heading_style() {
    TextStyle s;
    s.top = hex(0xFFF6C8);
    s.bottom = hex(0xF0A030);
    s.outline = hex(0x2A1408);
    s.outline_width = 2.5f;
    s.shadow_offset = 4;
    s.glow_radius = 8;
    s.glow = hex(0xFFB040);
    s.glow_alpha = 0.35f;
    return s;
}

TextStyle label_style() {
    TextStyle s;
    s.top = hex(0xE8F0FF);
    s.bottom = hex(0xA8C0E8);
    s.outline = hex(0x101020);
    s.outline_width = 1.5f;
    return s;
}

void heading(Image& img, const Fonts& f, const char* text, float y, float size = 44.f,
             float cx = 320.f) {
    const float scale = fit_scale(*f.serif, text, size, 420.f, 2.f);
    draw_text_centred(img, *f.serif, text, size, cx, y, heading_style(), scale, 2.f);
}

float centre_x(const gfx::Rect& r) {
    return fx(r.left + r.right) / 2.f;
}

// A translucent panel with a thin light frame, behind a scene's rows.
void panel(Image& img, const gfx::Rect& r, float hue) {
    const float x = fx(r.left), y = fx(r.top), w = fx(r.width()), h = fx(r.height());
    fill_round_rect(img, x + 4, y + 6, w, h, 14, hex(0x000000), 0.35f);
    fill_round_rect(img, x, y, w, h, 14, hsv(hue, 0.6f, 0.12f), 0.62f);
    stroke_round_rect(img, x, y, w, h, 14, 2.f, hsv(hue + 0.1f, 0.35f, 0.95f), 0.55f);
    stroke_round_rect(img, x + 5, y + 5, w - 10, h - 10, 10, 1.f, hsv(hue + 0.1f, 0.3f, 0.9f),
                      0.25f);
}

// A front-end screen with a panel: its backdrop, the panel, and its heading centred over the
// panel rather than the screen.
Image panel_screen(const Fonts& f, float hue, uint32_t seed, const char* title, float title_y,
                   float title_size, const gfx::Rect& frame, float panel_hue) {
    Image img = backdrop(hue, seed);
    heading(img, f, title, title_y, title_size, centre_x(frame));
    panel(img, frame, panel_hue);
    return img;
}

void scatter_tiles(Image& img, const std::array<Image, 8>& rewards) {
    for (int i = 0; i < 22; ++i) {
        // Tiles lie along the sides, clear of the menu in the middle.
        const bool left = i % 2 == 0;
        const float cx =
            left ? 20.f + 150.f * hash01(i, 0, 201) : 518.f + 112.f * hash01(i, 0, 201);
        float cy = 30.f + 430.f * hash01(i, 1, 201);
        // Clear of the name at the top middle as well.
        if (cy < 125.f && cx > 60.f && cx < 580.f) cy += 130.f;
        const float size = 46.f + 26.f * hash01(i, 2, 201);
        const float angle = (hash01(i, 3, 201) - 0.5f) * 1.1f;
        const Image& src = rewards[static_cast<size_t>(i % 8)];
        const float sx = 40.f + 480.f * hash01(i, 4, 201), sy = 40.f + 360.f * hash01(i, 5, 201);
        const float ca = std::cos(angle), sa = std::sin(angle), half = size / 2;
        const int r = static_cast<int>(size) + 4;
        fill(
            img, static_cast<int>(cx) - r + 5, static_cast<int>(cy) - r + 7,
            static_cast<int>(cx) + r + 5, static_cast<int>(cy) + r + 7,
            [&](float px, float py) {
                const float u = (px - cx - 5) * ca + (py - cy - 7) * sa,
                            v = -(px - cx - 5) * sa + (py - cy - 7) * ca;
                return sd_box(u, v, 0, 0, half, half, 4);
            },
            hex(0x000000), 0.4f);
        fill_shaded(
            img, static_cast<int>(cx) - r, static_cast<int>(cy) - r, static_cast<int>(cx) + r,
            static_cast<int>(cy) + r,
            [&](float px, float py) {
                const float u = (px - cx) * ca + (py - cy) * sa,
                            v = -(px - cx) * sa + (py - cy) * ca;
                return sd_box(u, v, 0, 0, half, half, 4);
            },
            [&](float px, float py) {
                const float u = (px - cx) * ca + (py - cy) * sa,
                            v = -(px - cx) * sa + (py - cy) * ca;
                const int x = std::clamp(static_cast<int>(sx + u), 0, kScreenWidth - 1),
                          y = std::clamp(static_cast<int>(sy + v), 0, kScreenHeight - 1);
                const float edge = std::max(std::abs(u), std::abs(v)) / half;
                return src.at(x, y) * (edge > 0.9f ? 1.25f : 0.85f);
            },
            0.9f);
    }
}

TextStyle menu_style(bool hot) {
    TextStyle s;
    if (hot) {
        s.top = hex(0xFFFFF0);
        s.bottom = hex(0xFFD040);
        s.outline = hex(0x3A1800);
        s.outline_width = 2.f;
        s.glow_radius = 5;
        s.glow = hex(0xFFA020);
        s.glow_alpha = 0.7f;
    } else {
        s.top = hex(0xF0F4FF);
        s.bottom = hex(0x98B0E0);
        s.outline = hex(0x0C1028);
        s.outline_width = 2.f;
        s.shadow_offset = 2;
    }
    return s;
}

// The panel behind the title menu's items.
constexpr gfx::Rect kTitleMenuPanel = {226, 124, 450, 422};

// The menu's words start this far into their areas and keep clear of the right edge by
// kMenuPadRight, with half a pixel between letters.
constexpr float kMenuPadLeft = 8.f, kMenuPadRight = 5.f, kMenuSpacing = 0.5f;

// A title menu item: the game's hit area and the word drawn in it.
struct MenuItem {
    int left, top, width, height;
    const char* label;
};
MenuItem menu_item(int item) {
    const size_t i = static_cast<size_t>(item);
    const gfx::Rect& area = scenes::kMenuItems[i];
    return {area.left, area.top, area.width(), area.height(), kMenuLabels[i]};
}

void menu_word(Image& img, const Fonts& f, float size, int item, float x0, float y0, bool hot) {
    const MenuItem m = menu_item(item);
    const float cap = f.sans->cap_height(size);
    draw_text(img, *f.sans, m.label, size, x0 + kMenuPadLeft, y0 + (fx(m.height) - cap) / 2.f,
              menu_style(hot), 1.f, kMenuSpacing);
}

Image board() {
    Image img(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const float grain = fbm(fx(x) / 40.f, fx(y) / 7.f, 301, 4);
            const float fibre = value_noise(fx(x) / 2.f, fx(y) / 30.f, 302);
            Rgb c = mix(hex(0x183828), hex(0x2A5A40), grain) * (0.9f + 0.15f * fibre);
            // Each home cell is sunk a little: light on its lower right edge, shade on its upper
            // left.
            const int cx = x % 80, cy = y % 80;
            if (cx < 3 || cy < 3) c = c * 0.6f;
            if (cx > 76 || cy > 76) c = c * 1.35f;
            const float d = std::hypot(fx(cx) - 39.5f, fx(cy) - 39.5f);
            c = c * (0.92f + 0.08f * (1 - d / 56.f));
            img.at(x, y) = c;
        }
    // Faint numbers in the cells, the order in which pieces come home column by column.
    vignette(img, 0.3f);
    fill_round_rect(img, 440, -14, 214, 94, 14, hex(0x000000), 0.45f);
    stroke_round_rect(img, 440, -14, 214, 94, 14, 2.f, hex(0xC0E0C0), 0.4f);
    add_grain(img, 303, 0.03f);
    return img;
}

Image viewer(const Fonts& f) {
    Image img = backdrop(0.58f, 310);
    heading(img, f, "HOW TO PLAY", 36, 40);
    fill_round_rect(img, 92, 92, 456, 236, 12, hex(0x000000), 0.25f);
    return img;
}

// A faint band that holds a row's label, value and controls together, 6 pixels around its
// 23-pixel controls.
void control_row(Image& img, float left, float right, int y, float hue) {
    const float top = fx(y) - 6.f, height = 35.f;
    fill_round_rect(img, left, top, right - left, height, 9, hsv(hue, 0.35f, 0.55f), 0.16f);
    stroke_round_rect(img, left, top, right - left, height, 9, 1.f, hsv(hue, 0.3f, 0.9f), 0.22f);
}

// A channel sunk into the panel, lit on its lower edge.
void recess(Image& img, float x, float y, float w, float h, float r, float hue) {
    fill_round_rect(img, x, y, w, h, r, hex(0x000000), 0.5f);
    fill_round_rect(img, x + 1.f, y + 2.f, w - 2.f, h - 3.f, r - 1.f, hsv(hue, 0.5f, 0.2f), 0.7f);
    stroke_round_rect(img, x, y, w, h, r, 1.f, hsv(hue, 0.25f, 0.95f), 0.3f);
}

// A recessed track from one control to another: a pair of arrows with their value between
// them, or the slot a switch slides in.
void track(Image& img, const gfx::Rect& from, const gfx::Rect& to, float hue) {
    const float x = fx(from.left) - 3.f, y = fx(from.top) - 3.f;
    const float w = fx(to.right) + 3.f - x, h = fx(from.height()) + 6.f;
    recess(img, x, y, w, h, h / 2.f, hue);
}

Image options(const Fonts& f) {
    using namespace scenes;
    constexpr float kHue = 0.66f;
    Image img = panel_screen(f, kHue, 320, "OPTIONS", 30, 44, kOptionsPanel, kHue);
    const float left = fx(kOptionsPanel.left) + 10.f, right = fx(kOptionsPanel.right) - 10.f;
    for (int y : {kBgmY, kBgmVolumeY, kSeY, kSeVolumeY, kFpsY, kLvlY, kPicturesY})
        control_row(img, left, right, y, kHue);
    const auto& c = kOptionControls;
    for (const auto& [from, to] : {std::pair{kBgmDown, kBgmUp},
                                   {kSeDown, kSeUp},
                                   {kLvlLeft, kLvlRight},
                                   {kPicturesGame, kPicturesYours}})
        track(img, c[static_cast<size_t>(from)], c[static_cast<size_t>(to)], kHue);
    for (OptionControl sw : {kBgmSwitch, kSeSwitch, kFpsSwitch})
        track(img, c[static_cast<size_t>(sw)], c[static_cast<size_t>(sw)], kHue);
    return img;
}

Image gallery(const Fonts& f) {
    Image img = backdrop(0.80f, 330);
    heading(img, f, "GALLERY", 30);
    for (int k = 0; k < 8; ++k) {
        const int i = k % 4, j = k / 4;
        const float x = fx(40 + 160 * i), y = fx(110 + 160 * j);
        fill_round_rect(img, x - 10 + 4, y - 10 + 6, 100, 100, 8, hex(0x000000), 0.45f);
        fill_round_rect(img, x - 10, y - 10, 100, 100, 8, hex(0xB08A40));
        fill_round_rect(img, x - 7, y - 7, 94, 94, 6, hex(0xF0D890));
        fill_round_rect(img, x - 4, y - 4, 88, 88, 4, hex(0x6A4A20));
        fill_rect(img, static_cast<int>(x) - 1, static_cast<int>(y) - 1, 82, 82, hex(0x100808));
        // The score that opens the picture, on a small plate under its frame.
        fill_round_rect(img, x - 4, y + 95, 88, 22, 11, hex(0x000000), 0.35f);
        TextStyle s = label_style();
        draw_text_centred(img, *f.sans,
                          std::to_string(scenes::kGalleryThresholds[static_cast<size_t>(k)]), 14,
                          x + 40, y + 100, s);
    }
    return img;
}

// A round plate of the screen's hue, for an emblem beside a screen's panel.
void emblem_plate(Image& img, float cx, float cy, float r, float hue) {
    fill_circle(img, cx + 4, cy + 6, r, hex(0x000000), 0.35f);
    fill_shaded(
        img, static_cast<int>(cx - r) - 1, static_cast<int>(cy - r) - 1,
        static_cast<int>(cx + r) + 2, static_cast<int>(cy + r) + 2,
        [&](float px, float py) { return sd_circle(px, py, cx, cy, r); },
        [&](float, float py) {
            return mix(hsv(hue, 0.55f, 0.42f), hsv(hue, 0.7f, 0.16f), (py - cy + r) / (2 * r));
        },
        0.85f);
    stroke_circle(img, cx, cy, r - 1.f, 2.f, hsv(hue + 0.1f, 0.35f, 0.95f), 0.55f);
    stroke_circle(img, cx, cy, r - 7.f, 1.f, hsv(hue + 0.1f, 0.3f, 0.9f), 0.25f);
}

// The dark rim the headings' lettering has, around a shape.
void dark_rim(Image& img, const std::vector<Vec2>& shape) {
    for (size_t k = 0; k < shape.size(); ++k) {
        const Vec2 a = shape[k], b = shape[(k + 1) % shape.size()];
        draw_line(img, a.x, a.y, b.x, b.y, 5.f, hex(0x2A1408));
    }
}

void gold_shape(Image& img, const std::vector<Vec2>& shape) {
    dark_rim(img, shape);
    fill_polygon(img, shape, hex(0xF0B040));
}

void gold_box(Image& img, float x, float y, float w, float h, float r) {
    fill_round_rect(img, x - 2.5f, y - 2.5f, w + 5.f, h + 5.f, r + 2.5f, hex(0x2A1408));
    fill_shaded(
        img, static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + w) + 1,
        static_cast<int>(y + h) + 1,
        [&](float px, float py) { return sd_box(px, py, x + w / 2, y + h / 2, w / 2, h / 2, r); },
        [&](float, float py) { return mix(hex(0xFFF0B0), hex(0xE09020), (py - y) / h); });
}

Image high_scores(const Fonts& f) {
    constexpr float kHue = 0.12f;
    Image img = panel_screen(f, kHue, 340, "HIGH SCORES", 30, 44, kHighScoresPanel, 0.1f);
    static const char* kRanks[] = {"1ST", "2ND", "3RD", "4TH", "5TH",
                                   "6TH", "7TH", "8TH", "9TH", "10TH"};
    const float left = fx(kHighScoresPanel.left) + 10.f, right = fx(kHighScoresPanel.right) - 10.f;
    for (int i = 0; i < 10; ++i) {
        const float y = fx(scores::kFirstRowY + scores::kRowStep * i);
        // Every other row a shade lighter, the three best in gold, so the rows read across.
        if (i < 3)
            fill_round_rect(img, left, y - 4, right - left, 28, 7, hex(0xE0A020), 0.16f);
        else if (i % 2 == 1)
            fill_round_rect(img, left, y - 4, right - left, 28, 7, hex(0xD0E0FF), 0.08f);
        TextStyle s = label_style();
        s.top = i < 3 ? hex(0xFFF0A0) : hex(0xD0E0FF);
        s.bottom = i < 3 ? hex(0xE0A020) : hex(0x90A8D8);
        draw_text(img, *f.sans, kRanks[i], 16, left + 10.f, y + 4.f, s);
    }
    // A cup beside the table, where the screen would otherwise be empty.
    const float cx = 528, cy = 256;
    emblem_plate(img, cx, cy, 78, kHue);
    std::vector<Vec2> bowl;
    for (int k = 0; k <= 12; ++k) {
        const float a = 3.14159f * static_cast<float>(k) / 12.f;
        bowl.push_back({cx + 34.f * std::cos(a), cy - 14.f + 30.f * std::sin(a)});
    }
    bowl.push_back({cx - 34.f, cy - 40.f});
    bowl.push_back({cx + 34.f, cy - 40.f});
    for (float side : {-1.f, 1.f}) {
        stroke_circle(img, cx + side * 36.f, cy - 22.f, 13.f, 7.f, hex(0x2A1408));
        stroke_circle(img, cx + side * 36.f, cy - 22.f, 13.f, 3.5f, hex(0xF0B040));
    }
    gold_shape(img, bowl);
    gold_box(img, cx - 6, cy + 14, 12, 18, 2);
    gold_box(img, cx - 26, cy + 32, 52, 12, 3);
    fill_round_rect(img, cx - 20, cy - 34, 10, 34, 5, hex(0xFFFFFF), 0.35f);
    return img;
}

Image tally(const Fonts& f) {
    constexpr float kHue = 0.5f;
    Image img = panel_screen(f, kHue, 350, "RESULT", 30, 44, kTallyPanel, kHue);
    const float left = fx(kTallyPanel.left) + 18.f, right = fx(kTallyPanel.right) - 18.f;
    for (int y : kTallyRules) {
        draw_line(img, left, fx(y), right, fx(y), 1.5f, hex(0x000000), 0.5f);
        draw_line(img, left, fx(y) + 1.5f, right, fx(y) + 1.5f, 1.f, hsv(kHue + 0.1f, 0.3f, 0.9f),
                  0.35f);
    }
    return img;
}

Image game_over(const Fonts& f) {
    constexpr float kHue = 0.98f;
    Image img = panel_screen(f, kHue, 360, "TIME UP", 120, 60, kTimeUpPanel, kHue);
    // An hourglass run out, beside the panel.
    const float cx = 540, cy = 240;
    emblem_plate(img, cx, cy, 70, kHue);
    gold_box(img, cx - 32, cy - 46, 64, 9, 3);
    gold_box(img, cx - 32, cy + 37, 64, 9, 3);
    const std::vector<Vec2> glass = {{cx - 24, cy - 37}, {cx + 24, cy - 37}, {cx + 4, cy},
                                     {cx + 24, cy + 37}, {cx - 24, cy + 37}, {cx - 4, cy}};
    dark_rim(img, glass);
    fill_polygon(img, glass, hex(0xC8E0F0), 0.35f);
    fill_polygon(img, {{cx - 22, cy + 36}, {cx + 22, cy + 36}, {cx, cy + 14}}, hex(0xF0C060));
    draw_line(img, cx, cy - 2, cx, cy + 20, 2.f, hex(0xF0C060));
    return img;
}

Image pause_screen(const Fonts& f) {
    constexpr float kHue = 0.55f;
    Image img = panel_screen(f, kHue, 370, "PAUSE", 100, 60, kPausePanel, kHue);
    // The pause sign, beside the panel.
    const float cx = 536, cy = 226;
    emblem_plate(img, cx, cy, 70, kHue);
    gold_box(img, cx - 27, cy - 34, 19, 68, 5);
    gold_box(img, cx + 8, cy - 34, 19, 68, 5);
    return img;
}

Image music_test(const Fonts& f) {
    using namespace scenes;
    constexpr float kHue = 0.72f;
    Image img = panel_screen(f, kHue, 380, "MUSIC TEST", 30, 44, kMusicTestPanel, kHue);
    const auto& c = kMusicControls;
    // The track selector: one rail from arrow to arrow, the number in its slot, and what the
    // numbers mean written along the rail.
    const gfx::Rect& prev = c[kPrevTrack];
    const gfx::Rect& next = c[kNextTrack];
    // The rail keeps clear of the PLAY row, 46 pixels below the number's top.
    const float rail_top = fx(kTrackNumberY) - 5.f, rail_bottom = fx(kTrackNumberY) + 42.f;
    const float rail_left = fx(prev.left) - 8.f, rail_right = fx(next.right) + 8.f;
    recess(img, rail_left, rail_top, rail_right - rail_left, rail_bottom - rail_top, 14, kHue);
    fill_round_rect(img, fx(kTrackNumberX) - 4, fx(kTrackNumberY) - 2, 68, 44, 11, hex(0x000000),
                    0.45f);
    TextStyle s = label_style();
    const float legend_x = (fx(kTrackNumberX) + 64.f + fx(next.left)) / 2.f;
    draw_text_centred(img, *f.sans, "0: TITLE    1 - 5: STAGES", 15, legend_x,
                      fx(kTrackNumberY) + 20.f - f.sans->cap_height(15) / 2.f, s);
    track(img, c[kPlaySwitch], c[kPlaySwitch], kHue);
    track(img, c[kLoopSwitch], c[kLoopSwitch], kHue);
    track(img, c[kVolDown], c[kVolUp], kHue);
    return img;
}

Image unused_card(const Fonts& f) {
    Image img = backdrop(0.05f, 390);
    heading(img, f, "VASUL", 180, 72);
    draw_text_centred(img, *f.sans, "THANK YOU FOR PLAYING", 18, 320, 280, label_style());
    return img;
}

}  // namespace

MenuLettering menu_lettering(const Fonts& f) {
    // The largest size, in quarter pixels, at which every word fits its own area unsqueezed.
    MenuLettering out;
    for (float size = 24.f; size >= 10.f; size -= 0.25f) {
        bool fits = true;
        for (int i = 0; i < 7 && fits; ++i) {
            const MenuItem m = menu_item(i);
            out.widths[static_cast<size_t>(i)] = f.sans->measure(m.label, size, 1.f, kMenuSpacing);
            fits = out.widths[static_cast<size_t>(i)] <= fx(m.width) - kMenuPadLeft - kMenuPadRight;
        }
        out.size = size;
        if (fits) break;
    }
    return out;
}

platform::Result<Fonts> open_fonts() {
    auto sans = Font::open(kSansBold);
    if (!sans) return sans.error();
    auto serif = Font::open(kSerifBold);
    if (!serif) return serif.error();
    return Fonts{std::move(*sans), std::move(*serif)};
}

TitleArt paint_title(const Fonts& f, const std::array<Image, 8>& rewards) {
    Image img = backdrop(0.62f, 200);
    scatter_tiles(img, rewards);
    TextStyle logo = heading_style();
    logo.glow_radius = 12;
    logo.glow_alpha = 0.55f;
    logo.outline_width = 3.f;
    draw_text_centred(img, *f.serif, "VASUL", 76, 320, 22, logo, 1.f, 6.f);
    TextStyle sub = label_style();
    draw_text_centred(img, *f.sans, "JIGSAW  PUZZLE", 14, 320, 108, sub, 1.f, 3.f);
    panel(img, kTitleMenuPanel, 0.62f);
    TitleArt art;
    art.background = img;
    art.menu_size = menu_lettering(f).size;
    for (int i = 0; i < 7; ++i) {
        const MenuItem m = menu_item(i);
        menu_word(img, f, art.menu_size, i, fx(m.left), fx(m.top), false);
    }
    art.picture = std::move(img);
    return art;
}

Image paint_menu_highlight(const TitleArt& title, const Fonts& f, int item) {
    const MenuItem m = menu_item(item);
    Image cell = title.background.crop(m.left, m.top, m.width, m.height);
    fill_shaded(
        cell, 0, 0, m.width, m.height,
        [&](float px, float py) {
            return sd_box(px, py, fx(m.width) / 2, fx(m.height) / 2, fx(m.width) / 2 - 1,
                          fx(m.height) / 2 - 3, 8);
        },
        [&](float, float py) { return mix(hex(0xFFC850), hex(0xB05010), py / fx(m.height)); },
        0.45f);
    stroke_round_rect(cell, 1, 3, fx(m.width) - 2, fx(m.height) - 6, 8, 1.5f, hex(0xFFF0B0), 0.9f);
    menu_word(cell, f, title.menu_size, item, 0, 0, true);
    return cell;
}

Image paint_screen(int slice, const Fonts& f) {
    switch (slice) {
        case 9:
            return board();
        case 10:
            return viewer(f);
        case 11:
            return options(f);
        case 12:
            return gallery(f);
        case 13:
            return high_scores(f);
        case 14:
            return tally(f);
        case 15:
            return game_over(f);
        case 16:
            return pause_screen(f);
        case 17:
            return music_test(f);
        default:
            return unused_card(f);
    }
}

}  // namespace assetgen
