#include "assetgen/reward_pictures.h"

#include <array>
#include <cmath>

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

// Colour along a few stops at positions 0..1.
Rgb ramp(const std::vector<std::pair<float, Rgb>>& stops, float t) {
    if (t <= stops.front().first) return stops.front().second;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].first) {
            const float k = (t - stops[i - 1].first) / (stops[i].first - stops[i - 1].first);
            return mix(stops[i - 1].second, stops[i].second, k);
        }
    }
    return stops.back().second;
}

// A cosine palette: smooth, endlessly cycling colour bands.
Rgb cosine_palette(float t, Rgb phase) {
    return {0.5f + 0.5f * std::cos(2 * kPi * (t + phase.r)),
            0.5f + 0.5f * std::cos(2 * kPi * (t + phase.g)),
            0.5f + 0.5f * std::cos(2 * kPi * (t + phase.b))};
}

void pine(Image& img, float x, float base, float height, Rgb colour, uint32_t seed) {
    const int tiers = 6;
    for (int i = 0; i < tiers; ++i) {
        const float t0 = static_cast<float>(i) / tiers;
        const float top = base - height * (0.25f + 0.75f * (t0 + 1.f / tiers));
        const float bottom = base - height * (0.2f + 0.75f * t0);
        const float half = height * 0.22f * (1.f - t0 * 0.8f) * (0.85f + 0.3f * hash01(i, 3, seed));
        fill_polygon(img, {{x, top}, {x + half, bottom}, {x - half, bottom}}, colour);
    }
    fill_rect(img, static_cast<int>(x) - 2, static_cast<int>(base - height * 0.22f), 4,
              static_cast<int>(height * 0.22f), colour * 0.8f);
}

// 1: a lake at sunset under violet mountains, pines on the shore.
Image sunset_lake() {
    constexpr int horizon = 300;
    const float sun_x = 430, sun_y = 262;
    Image img(kScreenWidth, kScreenHeight);
    for (int y = 0; y < horizon; ++y) {
        const float t = fx(y) / horizon;
        const Rgb base = ramp({{0.f, hex(0x1B1448)},
                               {0.45f, hex(0x6A2F7A)},
                               {0.75f, hex(0xD0587A)},
                               {1.f, hex(0xFFB25A)}},
                              t);
        for (int x = 0; x < kScreenWidth; ++x) {
            Rgb c = base;
            const float cl = fbm(fx(x) / 150.f, fx(y) / 38.f, 11, 5);
            const float band = smoothstep(20, 80, fx(y)) * (1 - smoothstep(200, 280, fx(y)));
            const float cloud = smoothstep(0.45f, 0.72f, cl) * band;
            const float sun_d = std::hypot(fx(x) - sun_x, fx(y) - sun_y);
            const Rgb lit = mix(hex(0x4A2A6A), hex(0xFFC090),
                                clamp01(1.2f - sun_d / 420.f) * (0.4f + 0.6f * t));
            c = mix(c, lit, cloud * 0.9f);
            c = c + hex(0xFFB060) * (0.55f * std::exp(-sun_d / 80.f));
            // High, thin streaks of cloud catch the last light, brighter towards the sun, so
            // that no patch of the upper sky looks like another.
            const float high = 1 - smoothstep(60, 190, fx(y));
            const float streak = fbm(fx(x) / 110.f + fx(y) / 260.f, fx(y) / 9.f, 13, 5);
            const float toward_sun = clamp01(1.f - std::abs(fx(x) - sun_x) / 520.f);
            c = c * (0.8f + 0.35f * toward_sun * high + 0.2f * (1 - high));
            c = mix(c, mix(hex(0x7A4A9A), hex(0xFF9A8A), toward_sun),
                    smoothstep(0.42f, 0.75f, streak) * high * 0.75f);
            const float s = hash01(x, y, 12);
            if (s > 0.99f && t < 0.45f)
                c = c + hex(0xFFF4E0) * ((s - 0.99f) * 90.f * (1 - t / 0.45f));
            img.at(x, y) = c;
        }
    }
    fill_circle(img, sun_x, sun_y, 24, hex(0xFFF0C0));
    // A flock of birds heading home across the darker sky on the left.
    for (int i = 0; i < 9; ++i) {
        const float bx = 92.f + 15.f * static_cast<float>(i) + 8.f * hash01(i, 0, 14);
        const float by = 112.f - 5.f * static_cast<float>(i) + 14.f * hash01(i, 1, 14);
        const float span = 4.f + 3.f * hash01(i, 2, 14), lift = 1.5f + 2.5f * hash01(i, 3, 14);
        draw_line(img, bx - span, by - lift, bx, by, 1.3f, hex(0x1A1030));
        draw_line(img, bx, by, bx + span, by - lift, 1.3f, hex(0x1A1030));
    }
    // Three ridges, the farthest palest and snow-capped.
    const std::array<Rgb, 3> rock{hex(0x8A6AA8), hex(0x553E78), hex(0x2C2142)};
    for (int layer = 0; layer < 3; ++layer) {
        const float base = 150.f + 45.f * static_cast<float>(layer),
                    amp = 110.f - 20.f * static_cast<float>(layer);
        for (int x = 0; x < kScreenWidth; ++x) {
            const float n =
                fbm(fx(x) / (170.f - 30.f * static_cast<float>(layer)),
                    static_cast<float>(layer) * 3.7f, 21 + static_cast<uint32_t>(layer), 6);
            const float ridge = base + amp * (1.f - n) * 0.9f;
            for (int y = static_cast<int>(ridge); y < horizon; ++y) {
                const float tex =
                    fbm(fx(x) / 14.f, fx(y) / 9.f, 31 + static_cast<uint32_t>(layer), 3);
                const float slope =
                    value_noise(fx(x) / 25.f, fx(y) / 60.f, 41 + static_cast<uint32_t>(layer));
                Rgb c = rock[static_cast<size_t>(layer)] * (0.75f + 0.5f * tex) +
                        hex(0xFF9060) * (0.18f * slope * (1 - static_cast<float>(layer) * 0.3f));
                if (layer == 0 && fx(y) < ridge + 28 && tex > 0.42f)
                    c = mix(c, hex(0xF0E0FF), 0.75f);
                const float haze = clamp01((fx(y) - ridge) / 160.f);
                c = mix(c, hex(0xC07090), haze * 0.25f * (1 - static_cast<float>(layer) * 0.3f));
                img.blend(x, y, c, clamp01(fx(y) - ridge + 1.f));
            }
        }
    }
    // A dark tree line along the far shore.
    for (int x = 0; x < kScreenWidth; ++x) {
        const float h = 6.f + 10.f * value_noise(fx(x) / 6.f, 0, 51) + 6.f * hash01(x, 0, 52);
        for (int y = horizon - static_cast<int>(h); y < horizon; ++y)
            img.blend(x, y, hex(0x1A1428) * (0.8f + 0.4f * hash01(x, y, 53)), 1.f);
    }
    // The lake mirrors the sky and the ridges, broken by ripples.
    for (int y = horizon; y < kScreenHeight; ++y) {
        const float depth = fx(y - horizon) / (kScreenHeight - horizon);
        for (int x = 0; x < kScreenWidth; ++x) {
            const float wave =
                std::sin(fx(y) * 0.45f + 6.f * value_noise(fx(x) / 40.f, fx(y) / 8.f, 61)) *
                (2.f + 10.f * depth);
            const int sx = std::clamp(static_cast<int>(fx(x) + wave), 0, kScreenWidth - 1);
            const int sy =
                std::clamp(2 * horizon - y - 1 + static_cast<int>(wave * 0.3f), 0, horizon - 1);
            const float chop = value_noise(fx(x) / 18.f, fx(y) / 2.2f, 64);
            Rgb c =
                img.at(sx, sy) * (0.62f + 0.22f * chop) + hex(0x10204A) * (0.25f + 0.2f * depth);
            const float streak = value_noise(fx(x) / 70.f, fx(y) / 2.5f, 62);
            c = c + hex(0xFFC0A0) * (0.25f * smoothstep(0.7f, 0.95f, streak) * (1 - depth));
            const float glitter_w = 10.f + 70.f * depth;
            if (std::abs(fx(x) - sun_x) < glitter_w &&
                hash01(x, y, 63) > 0.55f + 0.4f * std::abs(fx(x) - sun_x) / glitter_w)
                c = c + hex(0xFFE0A0) * 0.6f;
            img.at(x, y) = c;
        }
    }
    // Near shore: a bank on the left with tall pines, reeds on the right.
    for (int x = 0; x < 260; ++x) {
        const float top =
            400.f + 70.f * std::pow(fx(x) / 260.f, 1.5f) - 20.f * value_noise(fx(x) / 30.f, 0, 71);
        for (int y = static_cast<int>(top); y < kScreenHeight; ++y) {
            const float g = fbm(fx(x) / 6.f, fx(y) / 3.f, 72, 3);
            const float tuft = fbm(fx(x) / 2.f, fx(y) / 7.f, 76, 2);
            Rgb c = mix(hex(0x0E1A20), hex(0x50704A), g) * (0.6f + 0.8f * tuft);
            // The sunset catches the bank's upper edge.
            c = c + hex(0xC06070) * (0.35f * (1 - smoothstep(0, 14, fx(y) - top)));
            if (hash01(x, y, 77) > 0.985f) c = mix(hex(0xFFB0C8), hex(0xFFE080), hash01(x, y, 78));
            img.blend(x, y, c, clamp01(fx(y) - top + 1));
        }
    }
    const std::array<float, 6> px{18, 62, 104, 150, 196, 235};
    for (size_t i = 0; i < px.size(); ++i) {
        const float h =
            300.f - 32.f * static_cast<float>(i) + 30.f * hash01(static_cast<int>(i), 1, 73);
        pine(img, px[i], 420.f + 8.f * static_cast<float>(i), h,
             hex(0x0C1418) + hex(0x0A1008) * hash01(static_cast<int>(i), 2, 74),
             75 + static_cast<uint32_t>(i));
    }
    for (int i = 0; i < 70; ++i) {
        const float x = 470.f + 170.f * hash01(i, 0, 81), len = 25.f + 45.f * hash01(i, 1, 81);
        const float lean = (hash01(i, 2, 81) - 0.5f) * 16.f;
        draw_line(img, x, 480, x + lean, 480 - len, 1.6f, hex(0x141C16));
    }
    add_grain(img, 91, 0.035f);
    return img;
}

// 2: a deep zoom into the Mandelbrot set's seahorse valley.
Image mandelbrot() {
    Image img(kScreenWidth, kScreenHeight);
    const double cx = -0.74364, cy = 0.13182, span = 0.0105;
    const double step = span / kScreenWidth;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const double c_re = cx + (x - kScreenWidth / 2) * step,
                         c_im = cy + (y - kScreenHeight / 2) * step;
            double zr = 0, zi = 0, trap = 1e9;
            int i = 0;
            constexpr int kMax = 600;
            for (; i < kMax && zr * zr + zi * zi < 256.0; ++i) {
                const double t = zr * zr - zi * zi + c_re;
                zi = 2 * zr * zi + c_im;
                zr = t;
                trap = std::min(trap, std::abs(zr * zi));
            }
            Rgb c;
            if (i == kMax) {
                const float t = static_cast<float>(std::sqrt(trap) * 4.0);
                c = mix(hex(0x0A0820), hex(0x3050A0), clamp01(1.f - t)) *
                    (0.7f + 0.3f * std::sin(t * 30.f));
            } else {
                const double mu = i + 1 - std::log2(std::log(std::sqrt(zr * zr + zi * zi)));
                // The square root spreads the bands of the slow-escaping outside over more colours.
                const float t = static_cast<float>(std::sqrt(mu) * 0.42);
                c = cosine_palette(t, {0.0f, 0.15f, 0.35f});
                c = c * (0.55f + 0.45f * clamp01(static_cast<float>(mu) / 60.f));
                // The escape angle draws field lines through the smooth outside, so no area is
                // flat.
                const float angle = static_cast<float>(std::atan2(zi, zr));
                const float lines =
                    0.5f + 0.5f * std::sin(angle * 6.f + static_cast<float>(mu) * 1.3f);
                const float fine =
                    0.5f + 0.5f * std::sin(angle * 17.f + static_cast<float>(mu) * 3.1f);
                c = c * (0.7f + 0.38f * lines + 0.14f * fine);
                const float glow = static_cast<float>(std::exp(-trap * 12.0));
                c = c + hex(0xFFE0B0) * (0.35f * glow);
            }
            img.at(x, y) = c;
        }
    }
    add_grain(img, 92, 0.03f);
    return img;
}

// 3: a rose window of stained glass, lit from behind.
Image stained_glass() {
    Image img(kScreenWidth, kScreenHeight);
    constexpr int kCell = 46;
    // One spare column and row of seeds past each edge: every pixel looks one cell around it.
    constexpr int gw = kScreenWidth / kCell + 3, gh = kScreenHeight / kCell + 3;
    std::vector<Vec2> seeds(static_cast<size_t>(gw * gh));
    for (int j = 0; j < gh; ++j)
        for (int i = 0; i < gw; ++i)
            seeds[static_cast<size_t>(j * gw + i)] = {
                (fx(i - 1) + 0.15f + 0.7f * hash01(i, j, 101)) * kCell,
                (fx(j - 1) + 0.15f + 0.7f * hash01(i, j, 102)) * kCell};
    const float ccx = 320, ccy = 240;
    auto glass_colour = [&](Vec2 s, int id) {
        const float r = std::hypot(s.x - ccx, s.y - ccy), a = std::atan2(s.y - ccy, s.x - ccx);
        const float jitter = hash01(id, 0, 103);
        if (r < 70) return hsv(0.12f + 0.05f * jitter, 0.85f, 1.f);
        if (r < 150)
            return hsv(std::fmod(0.55f + 0.12f * std::cos(a * 8.f) + 0.05f * jitter, 1.f), 0.8f,
                       0.85f);
        if (r < 225)
            return hsv(std::fmod(0.95f + 0.08f * std::cos(a * 12.f) + 0.06f * jitter, 1.f), 0.85f,
                       0.8f);
        return hsv(0.62f + 0.1f * jitter + 0.08f * std::sin(s.x / 90.f), 0.75f,
                   0.45f + 0.3f * hash01(id, 1, 103));
    };
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const int gi = x / kCell + 1, gj = y / kCell + 1;
            float d1 = 1e9f, d2 = 1e9f;
            int best = 0;
            for (int j = gj - 1; j <= gj + 1; ++j)
                for (int i = gi - 1; i <= gi + 1; ++i) {
                    const int id = j * gw + i;
                    const Vec2 s = seeds[static_cast<size_t>(id)];
                    const float d = std::hypot(fx(x) - s.x, fx(y) - s.y);
                    if (d < d1) {
                        d2 = d1;
                        d1 = d;
                        best = id;
                    } else if (d < d2) {
                        d2 = d;
                    }
                }
            const float r = std::hypot(fx(x) - ccx, fx(y) - ccy);
            Rgb c = glass_colour(seeds[static_cast<size_t>(best)], best);
            const float tex = fbm(fx(x) / 16.f, fx(y) / 16.f, 104, 4);
            const float streak = value_noise(fx(x) / 2.5f, fx(y) / 30.f, 105);
            c = c * (0.6f + 0.55f * tex + 0.15f * streak);
            c = c * (0.75f + 0.45f * std::exp(-r / 260.f));
            const float edge = (d2 - d1) * 0.5f;
            float lead = 1.f - smoothstep(1.2f, 2.6f, edge);
            for (float ring : {70.f, 150.f, 225.f})
                lead = std::max(lead, 1.f - smoothstep(2.f, 3.5f, std::abs(r - ring)));
            const Rgb lead_c =
                hex(0x1C1A18) + hex(0x3A3530) * (0.5f * value_noise(fx(x) / 3.f, fx(y) / 3.f, 106));
            img.at(x, y) = mix(c, lead_c, lead);
        }
    }
    // Sparkles where the light shines through thin glass.
    for (int i = 0; i < 90; ++i) {
        const float x = fx(kScreenWidth) * hash01(i, 0, 107),
                    y = fx(kScreenHeight) * hash01(i, 1, 107);
        fill_circle(img, x, y, 1.5f + 2.f * hash01(i, 2, 107), hex(0xFFFFF0), 0.45f);
    }
    add_grain(img, 93, 0.03f);
    return img;
}

// 4: a village under the Milky Way, an aurora and a crescent moon.
Image night_sky() {
    Image img(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const float t = fx(y) / kScreenHeight;
            Rgb c = ramp({{0.f, hex(0x040616)},
                          {0.6f, hex(0x0E1E40)},
                          {0.85f, hex(0x1C3E62)},
                          {1.f, hex(0x2A5070)}},
                         t);
            // The galaxy's band runs from the lower left to the upper right.
            const float d = (fx(x) * 0.5f + fx(y) * 0.85f - 330.f) / 1.f;
            const float band = std::exp(-(d * d) / (2 * 85.f * 85.f));
            const float dust = fbm(fx(x) / 60.f, fx(y) / 60.f, 111, 6);
            const float lanes =
                1.f -
                0.75f * smoothstep(0.5f, 0.68f, fbm(fx(x) / 35.f + 9.f, fx(y) / 35.f, 112, 5));
            const Rgb neb = mix(hex(0x6040A0), hex(0xE0B0C0), dust);
            c = c + neb * (band * (0.25f + 0.9f * dust) * lanes * 0.8f);
            // Aurora curtains in the upper left.
            const float yc =
                95.f + 35.f * std::sin(fx(x) / 85.f) + 30.f * fbm(fx(x) / 120.f, 0.f, 113, 3);
            // The curtains' rays reach far higher than their lower hem.
            const float reach = fx(y) < yc ? 80.f : 45.f;
            const float curtain =
                std::exp(-std::pow((fx(y) - yc) / reach, 2.f)) * (1 - smoothstep(300, 520, fx(x)));
            const float rays = 0.5f + 0.5f * value_noise(fx(x) / 4.f, fx(y) / 90.f, 114);
            c = c + mix(hex(0x30FF90), hex(0xFF50C0), clamp01((yc - fx(y)) / 60.f + 0.3f)) *
                        (curtain * rays * 0.55f);
            const float s = hash01(x, y, 115);
            const float density = 0.994f - band * 0.012f;
            if (s > density)
                c = c + mix(hex(0xA0C0FF), hex(0xFFE0C0), hash01(x, y, 116)) *
                            ((s - density) / (1 - density));
            img.at(x, y) = c;
        }
    }
    for (int i = 0; i < 45; ++i) {
        const float x = fx(kScreenWidth) * hash01(i, 0, 117), y = 330.f * hash01(i, 1, 117),
                    r = 0.8f + 1.4f * hash01(i, 2, 117);
        const Rgb c = mix(hex(0xB0D0FF), hex(0xFFF0C0), hash01(i, 3, 117));
        fill_circle(img, x, y, r * 3.f, c, 0.12f);
        fill_circle(img, x, y, r, c);
        if (r > 1.7f) {
            draw_line(img, x - 7, y, x + 7, y, 0.8f, c, 0.6f);
            draw_line(img, x, y - 7, x, y + 7, 0.8f, c, 0.6f);
        }
    }
    // The moon.
    fill_circle(img, 548, 78, 60, hex(0xFFF4D0), 0.08f);
    fill(
        img, 500, 30, 600, 130,
        [](float px, float py) {
            return std::max(sd_circle(px, py, 548, 78, 30), -sd_circle(px, py, 562, 70, 27));
        },
        hex(0xFFF0C8));
    // Hills, houses with lit windows, a lamp-lit path.
    for (int layer = 0; layer < 2; ++layer) {
        const float base = 330.f + 40.f * static_cast<float>(layer);
        for (int x = 0; x < kScreenWidth; ++x) {
            const float top =
                base +
                35.f * std::sin(fx(x) / (140.f - 30.f * static_cast<float>(layer)) +
                                static_cast<float>(layer) * 2.f) +
                12.f * value_noise(fx(x) / 25.f, 0, 118 + static_cast<uint32_t>(layer));
            for (int y = static_cast<int>(top); y < kScreenHeight; ++y) {
                const float g =
                    fbm(fx(x) / 8.f, fx(y) / 5.f, 120 + static_cast<uint32_t>(layer), 3);
                // Moonlight from the right and frost in the grass set every stretch apart.
                const float moon = 0.5f + 0.8f * fx(x) / kScreenWidth;
                const float frost =
                    smoothstep(0.55f, 0.8f, fbm(fx(x) / 30.f, fx(y) / 12.f, 123, 4));
                Rgb c = (layer == 0 ? hex(0x10203A) : hex(0x0A1620)) * (0.55f + 0.9f * g) * moon;
                c = mix(c, hex(0x5070A0), frost * 0.3f * moon);
                img.blend(x, y, c, clamp01(fx(y) - top + 1));
            }
        }
    }
    for (int i = 0; i < 14; ++i) {
        const float x = 20.f + 45.f * static_cast<float>(i) + 10.f * hash01(i, 0, 121);
        const float ground =
            370.f + 35.f * std::sin(x / 110.f + 2.f) + 12.f * value_noise(x / 25.f, 0, 119);
        const float w = 22.f + 10.f * hash01(i, 1, 121), h = 16.f + 10.f * hash01(i, 2, 121);
        const float top = ground - h + 6.f;
        fill_rect(img, static_cast<int>(x), static_cast<int>(top), static_cast<int>(w),
                  static_cast<int>(h), hex(0x0A0E16));
        fill_polygon(img, {{x - 3, top}, {x + w / 2, top - 12}, {x + w + 3, top}}, hex(0x0C1018));
        for (int k = 0; k < 3; ++k)
            if (hash01(i, k + 3, 121) > 0.35f)
                fill_rect(img, static_cast<int>(x + 3 + static_cast<float>(k) * 7),
                          static_cast<int>(top + 4), 4, 5,
                          mix(hex(0xFFC050), hex(0xFFE090), hash01(i, k, 122)));
    }
    // The path climbs to the right, so no two lamps stand alike.
    auto lamp_at = [](int i) {
        const float t = static_cast<float>(i) / 8.f;
        return Vec2{80.f + 480.f * t, 472.f - 40.f * std::sin(t * kPi) - 16.f * t};
    };
    for (int i = 0; i < 8; ++i) {
        const Vec2 a = lamp_at(i), b = lamp_at(i + 1);
        draw_line(img, a.x, a.y + 4, b.x, b.y + 4, 7.f, hex(0x3A3A40), 0.8f);
    }
    for (int i = 0; i < 9; ++i) {
        const auto [x, y] = lamp_at(i);
        for (float r = 8.f; r <= 32.f; r += 4.f)
            fill_circle(img, x, y - 6, r, hex(0xFFC060), 0.03f);
        draw_line(img, x, y, x, y - 18, 1.5f, hex(0x202830));
        fill_circle(img, x, y - 20, 9, hex(0xFFD070), 0.2f);
        fill_circle(img, x, y - 20, 2.5f, hex(0xFFF0B0));
    }
    add_grain(img, 94, 0.03f);
    return img;
}

// 5: farmland seen from above: fields in rows, hedges, a river and a road.
Image patchwork_fields() {
    Image img(kScreenWidth, kScreenHeight);
    constexpr int kCell = 95;
    constexpr int gw = kScreenWidth / kCell + 3, gh = kScreenHeight / kCell + 3;
    const std::array<Rgb, 8> crops{hex(0x7FB23A), hex(0xD9B84A), hex(0x8A6238), hex(0x9A7AC8),
                                   hex(0x4E8C3C), hex(0xE08A3A), hex(0xB8D070), hex(0x6A9A5A)};
    auto seed_at = [&](int i, int j) {
        return Vec2{(fx(i - 1) + 0.1f + 0.8f * hash01(i, j, 131)) * kCell,
                    (fx(j - 1) + 0.1f + 0.8f * hash01(i, j, 132)) * kCell};
    };
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            // Fields are Voronoi cells of a jittered grid, slightly warped so edges meander.
            const float wx = fx(x) + 14.f * (value_noise(fx(x) / 60.f, fx(y) / 60.f, 133) - 0.5f);
            const float wy =
                fx(y) + 14.f * (value_noise(fx(x) / 60.f + 7.f, fx(y) / 60.f, 133) - 0.5f);
            const int gi = static_cast<int>(wx) / kCell + 1, gj = static_cast<int>(wy) / kCell + 1;
            float d1 = 1e9f, d2 = 1e9f;
            int bi = 0, bj = 0;
            for (int j = gj - 1; j <= gj + 1; ++j)
                for (int i = gi - 1; i <= gi + 1; ++i) {
                    if (i < 0 || j < 0 || i >= gw || j >= gh) continue;
                    const Vec2 s = seed_at(i, j);
                    const float d = std::hypot(wx - s.x, wy - s.y);
                    if (d < d1) {
                        d2 = d1;
                        d1 = d;
                        bi = i;
                        bj = j;
                    } else if (d < d2) {
                        d2 = d;
                    }
                }
            const uint32_t id = static_cast<uint32_t>(bj * gw + bi);
            const Rgb base = crops[hash3(id, 1, 134) % crops.size()];
            const float angle = kPi * hash01(bi, bj, 135);
            const float freq = 0.5f + 0.5f * hash01(bi, bj, 136);
            const float rows = std::sin((fx(x) * std::cos(angle) + fx(y) * std::sin(angle)) * freq);
            const float tex = fbm(fx(x) / 20.f, fx(y) / 20.f, 137, 4);
            Rgb c =
                base * (0.78f + 0.14f * rows + 0.3f * (tex - 0.5f) + 0.15f * hash01(bi, bj, 138));
            const float hedge = 1.f - smoothstep(2.f, 5.f, (d2 - d1) * 0.5f);
            const float bush = value_noise(fx(x) / 3.f, fx(y) / 3.f, 139);
            c = mix(c, hex(0x2E4A22) * (0.7f + 0.6f * bush), hedge * (0.6f + 0.4f * bush));
            img.at(x, y) = c;
        }
    }
    // A road crossing from the top left down to the bottom middle.
    draw_line(img, -10, 60, 650, 420, 9, hex(0xC8BCA8));
    draw_line(img, -10, 60, 650, 420, 1.2f, hex(0xF0E8D0), 0.7f);
    // The river meanders from left to right with sandy banks and glints.
    for (int x = 0; x < kScreenWidth; ++x) {
        const float yc =
            250.f + 110.f * std::sin(fx(x) / 120.f) + 30.f * std::sin(fx(x) / 37.f + 1.f);
        const float half = 10.f + 4.f * std::sin(fx(x) / 50.f);
        for (int y = static_cast<int>(yc - half - 6); y <= static_cast<int>(yc + half + 6); ++y) {
            const float d = std::abs(fx(y) - yc);
            if (d > half + 5) continue;
            if (d > half) {
                img.blend(x, y, hex(0xD8C890), clamp01(half + 5 - d));
                continue;
            }
            const float ripple = value_noise(fx(x) / 9.f, fx(y) / 2.f, 141);
            Rgb c = mix(hex(0x2A6A9A), hex(0x4A9AC8), ripple) * (0.85f + 0.15f * (1 - d / half));
            if (ripple > 0.8f) c = c + hex(0xFFFFFF) * 0.25f;
            img.at(x, y) = c;
        }
    }
    // Trees with shadows, and a few farmsteads.
    for (int i = 0; i < 130; ++i) {
        const float x = fx(kScreenWidth) * hash01(i, 0, 142),
                    y = fx(kScreenHeight) * hash01(i, 1, 142);
        const float r = 4.f + 5.f * hash01(i, 2, 142);
        fill_circle(img, x + r * 0.6f, y + r * 0.6f, r, hex(0x102010), 0.45f);
        fill_circle(img, x, y, r, hex(0x2F6A28) * (0.8f + 0.4f * hash01(i, 3, 142)));
        fill_circle(img, x - r * 0.3f, y - r * 0.3f, r * 0.45f, hex(0x6AA848), 0.7f);
    }
    for (int i = 0; i < 7; ++i) {
        const float x = 40.f + 560.f * hash01(i, 0, 143), y = 30.f + 420.f * hash01(i, 1, 143);
        fill_rect(img, static_cast<int>(x) + 3, static_cast<int>(y) + 3, 18, 12, hex(0x202010),
                  0.5f);
        fill_rect(img, static_cast<int>(x), static_cast<int>(y), 18, 12, hex(0xB03A2A));
        fill_rect(img, static_cast<int>(x), static_cast<int>(y) + 6, 18, 6, hex(0x8A2A20));
    }
    add_grain(img, 95, 0.03f);
    return img;
}

// 6: marbled swirls of colour with veins of gold.
Image marble() {
    Image img(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const float px = fx(x) / 160.f, py = fx(y) / 160.f;
            const float qx = fbm(px, py, 151, 4), qy = fbm(px + 5.2f, py + 1.3f, 152, 4);
            const float rx = fbm(px + 4 * qx + 1.7f, py + 4 * qy + 9.2f, 153, 4);
            const float ry = fbm(px + 4 * qx + 8.3f, py + 4 * qy + 2.8f, 154, 4);
            const float v = fbm(px + 4 * rx, py + 4 * ry, 155, 5);
            Rgb c = mix(hex(0x102A6A), hex(0xD0306A), clamp01(v * v * 2.5f));
            c = mix(c, hex(0x20C0B0), clamp01(qx * 1.4f - 0.3f));
            c = mix(c, hex(0xFFE8C0), clamp01(rx * rx * 1.6f - 0.1f) * 0.7f);
            const float f = std::abs(std::fmod(v * 9.f, 1.f) - 0.5f);
            c = mix(c, hex(0xFFC850), (1 - smoothstep(0.02f, 0.07f, f)) * 0.85f);
            img.at(x, y) = c * (0.8f + 0.4f * ry);
        }
    }
    add_grain(img, 96, 0.03f);
    return img;
}

// 7: glass orbs floating over soft lights.
Image glass_orbs() {
    Image img(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const float t = fx(x + y) / (kScreenWidth + kScreenHeight);
            img.at(x, y) = mix(hex(0x0A2A3A), hex(0x3A1450), t) *
                           (0.8f + 0.4f * fbm(fx(x) / 90.f, fx(y) / 90.f, 161, 4));
        }
    for (int i = 0; i < 60; ++i) {
        const float x = fx(kScreenWidth) * hash01(i, 0, 162),
                    y = fx(kScreenHeight) * hash01(i, 1, 162), r = 8.f + 30.f * hash01(i, 2, 162);
        fill_circle(img, x, y, r, hsv(hash01(i, 3, 162), 0.6f, 1.f),
                    0.12f + 0.12f * hash01(i, 4, 162));
    }
    struct Orb {
        float x, y, r, hue;
    };
    std::vector<Orb> orbs;
    for (int i = 0; i < 26; ++i)
        orbs.push_back({fx(kScreenWidth) * hash01(i, 0, 163), fx(kScreenHeight) * hash01(i, 1, 163),
                        18.f + 55.f * hash01(i, 2, 163), hash01(i, 3, 163)});
    std::sort(orbs.begin(), orbs.end(), [](const Orb& a, const Orb& b) { return a.r < b.r; });
    for (const Orb& o : orbs) {
        const Rgb base = hsv(o.hue, 0.75f, 0.95f);
        fill_circle(img, o.x + o.r * 0.25f, o.y + o.r * 0.3f, o.r, hex(0x000000), 0.3f);
        fill_shaded(
            img, static_cast<int>(o.x - o.r) - 1, static_cast<int>(o.y - o.r) - 1,
            static_cast<int>(o.x + o.r) + 2, static_cast<int>(o.y + o.r) + 2,
            [&](float px, float py) { return sd_circle(px, py, o.x, o.y, o.r); },
            [&](float px, float py) {
                const float nx = (px - o.x) / o.r, ny = (py - o.y) / o.r;
                const float nz = std::sqrt(std::max(0.f, 1 - nx * nx - ny * ny));
                const float light = clamp01(-0.5f * nx - 0.6f * ny + 0.62f * nz);
                const float rim = std::pow(1 - nz, 3.f);
                const float swirl =
                    value_noise(px / 7.f, py / 7.f, 164 + static_cast<uint32_t>(o.hue * 100));
                Rgb c = base * (0.25f + 0.75f * light) * (0.85f + 0.3f * swirl);
                c = c + hsv(o.hue + 0.5f, 0.5f, 1.f) * (rim * 0.6f);
                const float spec = std::pow(clamp01(-0.45f * nx - 0.55f * ny + 0.7f * nz), 40.f);
                return c + hex(0xFFFFFF) * spec;
            },
            0.92f);
    }
    add_grain(img, 97, 0.03f);
    return img;
}

// 8: a ringed planet rising over red dunes.
Image ringed_planet() {
    Image img(kScreenWidth, kScreenHeight);
    const float pcx = 410, pcy = 150, pr = 105;
    const float tilt = -0.32f;
    auto ring_at = [&](float px, float py, float& radius) {
        // The ring lies in a tilted, flattened plane around the planet.
        const float dx = px - pcx, dy = py - pcy;
        const float u = dx * std::cos(tilt) + dy * std::sin(tilt);
        const float v = (-dx * std::sin(tilt) + dy * std::cos(tilt)) / 0.28f;
        radius = std::hypot(u, v);
        return v;
    };
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            Rgb c = mix(hex(0x08061A), hex(0x2A1840), fx(y) / kScreenHeight);
            c = c + mix(hex(0x402060), hex(0x206070), fbm(fx(x) / 80.f, fx(y) / 80.f, 171, 5)) *
                        (0.5f * fbm(fx(x) / 140.f, fx(y) / 140.f, 172, 4));
            const float s = hash01(x, y, 173);
            if (s > 0.995f) c = c + hex(0xFFFFFF) * ((s - 0.995f) * 200.f);
            float rr = 0;
            const float v = ring_at(fx(x) + 0.5f, fx(y) + 0.5f, rr);
            const float pd = std::hypot(fx(x) + 0.5f - pcx, fx(y) + 0.5f - pcy);
            const bool ring_band = rr > pr * 1.35f && rr < pr * 2.15f;
            const float ring_tex =
                0.5f + 0.5f * std::sin(rr * 0.55f) * value_noise(rr / 3.f, 0.f, 174);
            const Rgb ring_c = mix(hex(0xB08A60), hex(0xF0D8B0), ring_tex);
            const bool behind = v < 0;
            if (ring_band && behind) c = mix(c, ring_c, 0.8f);
            if (pd < pr + 1) {
                const float nx = (fx(x) - pcx) / pr, ny = (fx(y) - pcy) / pr;
                const float nz = std::sqrt(std::max(0.f, 1 - nx * nx - ny * ny));
                const float lat = ny + 0.25f * nx;
                const float bands = fbm(lat * 9.f, nx * 1.5f, 175, 4);
                Rgb pc = ramp({{0.f, hex(0x6A3A2A)},
                               {0.4f, hex(0xD08A50)},
                               {0.7f, hex(0xF0D0A0)},
                               {1.f, hex(0x9A5A3A)}},
                              bands);
                const float light = clamp01(0.15f + 0.85f * (-0.6f * nx - 0.3f * ny + 0.75f * nz));
                pc = pc * light + hex(0x60A0FF) * (0.25f * std::pow(1 - nz, 4.f));
                c = mix(c, pc, clamp01(pr + 0.5f - pd));
            }
            if (ring_band && !behind) c = mix(c, ring_c * (pd < pr ? 0.8f : 1.f), 0.85f);
            img.at(x, y) = c;
        }
    }
    fill_circle(img, 130, 90, 22, hex(0xB0C0D0));
    fill_circle(img, 124, 84, 20, hex(0xE0E8F0), 0.5f);
    fill_circle(img, 205, 210, 9, hex(0xD0A080));
    // Dunes, each lit from the left, with wind ripples.
    for (int layer = 0; layer < 4; ++layer) {
        const float base = 300.f + 45.f * static_cast<float>(layer);
        const float f = 1.f / (90.f + 25.f * static_cast<float>(layer));
        for (int x = 0; x < kScreenWidth; ++x) {
            const float top =
                base + 30.f * std::sin(fx(x) * f + static_cast<float>(layer) * 1.7f) +
                15.f * value_noise(fx(x) / 40.f, 0, 176 + static_cast<uint32_t>(layer));
            const float slope = std::cos(fx(x) * f + static_cast<float>(layer) * 1.7f);
            for (int y = static_cast<int>(top); y < kScreenHeight; ++y) {
                const float ripple =
                    0.5f + 0.5f * std::sin(fx(y) * 0.9f + fx(x) * 0.12f +
                                           4.f * value_noise(fx(x) / 30.f, fx(y) / 30.f, 177));
                Rgb c = mix(hex(0x8A2E1A), hex(0xF08A4A), clamp01(0.55f - 0.45f * slope)) *
                        (0.55f + 0.1f * static_cast<float>(layer));
                c = c * (0.85f + 0.2f * ripple);
                img.blend(x, y, c, clamp01(fx(y) - top + 1));
            }
        }
    }
    add_grain(img, 98, 0.03f);
    return img;
}

}  // namespace

Image paint_reward_picture(int k) {
    switch (k) {
        case 1:
            return sunset_lake();
        case 2:
            return mandelbrot();
        case 3:
            return stained_glass();
        case 4:
            return night_sky();
        case 5:
            return patchwork_fields();
        case 6:
            return marble();
        case 7:
            return glass_orbs();
        default:
            return ringed_planet();
    }
}

}  // namespace assetgen
