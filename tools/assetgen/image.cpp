#include "assetgen/image.h"

namespace assetgen {

namespace {

uint8_t to_byte(float v) {
    return static_cast<uint8_t>(std::lround(clamp01(v) * 255.f));
}

uint32_t to_pixel(Rgb c) {
    return (static_cast<uint32_t>(to_byte(c.r)) << 16) |
           (static_cast<uint32_t>(to_byte(c.g)) << 8) | to_byte(c.b);
}

}  // namespace

Rgb hsv(float h, float s, float v) {
    h = h - std::floor(h);
    const float k = h * 6.f;
    const int sector = static_cast<int>(k) % 6;
    const float f = k - std::floor(k);
    const float p = v * (1.f - s), q = v * (1.f - s * f), t = v * (1.f - s * (1.f - f));
    switch (sector) {
        case 0:
            return {v, t, p};
        case 1:
            return {q, v, p};
        case 2:
            return {p, v, t};
        case 3:
            return {p, q, v};
        case 4:
            return {t, p, v};
        default:
            return {v, p, q};
    }
}

Image::Image(int width, int height, Rgb fill, float alpha)
    : width_(width),
      height_(height),
      rgb_(static_cast<size_t>(width) * height, fill),
      alpha_(static_cast<size_t>(width) * height, alpha) {}

void Image::blend(int x, int y, Rgb c, float a) {
    if (!inside(x, y) || a <= 0.f) return;
    a = std::min(a, 1.f);
    const size_t i = index(x, y);
    const float below = alpha_[i];
    const float out = a + below * (1.f - a);
    if (out <= 0.f) return;
    rgb_[i] = (c * a + rgb_[i] * (below * (1.f - a))) * (1.f / out);
    alpha_[i] = out;
}

void Image::draw(const Image& src, int dx, int dy, float opacity) {
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            blend(dx + x, dy + y, src.at(x, y), src.alpha(x, y) * opacity);
}

Image Image::crop(int x, int y, int w, int h) const {
    Image out(w, h, {}, 0.f);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (inside(x + i, y + j)) {
                out.at(i, j) = at(x + i, y + j);
                out.alpha(i, j) = alpha(x + i, y + j);
            }
    return out;
}

gfx::Surface Image::to_surface() const {
    gfx::Surface s(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) s.set_pixel(x, y, to_pixel(at(x, y)));
    return s;
}

gfx::Surface Image::to_sprite(uint32_t key) const {
    gfx::Surface s(width_, height_, key);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (alpha(x, y) < 0.5f) continue;
            uint32_t p = to_pixel(at(x, y));
            if (p == key) p ^= 1u;
            s.set_pixel(x, y, p);
        }
    }
    return s;
}

Image from_surface(const gfx::Surface& s) {
    Image img(s.width(), s.height());
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const uint32_t p = s.pixel(x, y);
            img.at(x, y) = hex(p & 0xFFFFFFu);
        }
    }
    return img;
}

Image resample(const Image& src, float x, float y, float w, float h, int out_w, int out_h) {
    Image out(out_w, out_h);
    const float sx = w / static_cast<float>(out_w), sy = h / static_cast<float>(out_h);
    for (int j = 0; j < out_h; ++j) {
        const float y0 = y + static_cast<float>(j) * sy, y1 = y0 + sy;
        for (int i = 0; i < out_w; ++i) {
            const float x0 = x + static_cast<float>(i) * sx, x1 = x0 + sx;
            Rgb sum;
            float weight = 0.f;
            for (int py = static_cast<int>(std::floor(y0)); static_cast<float>(py) < y1; ++py) {
                const float wy =
                    std::min(y1, static_cast<float>(py + 1)) - std::max(y0, static_cast<float>(py));
                for (int px = static_cast<int>(std::floor(x0)); static_cast<float>(px) < x1; ++px) {
                    const float wx = std::min(x1, static_cast<float>(px + 1)) -
                                     std::max(x0, static_cast<float>(px));
                    const int cx = std::clamp(px, 0, src.width() - 1);
                    const int cy = std::clamp(py, 0, src.height() - 1);
                    sum = sum + src.at(cx, cy) * (wx * wy);
                    weight += wx * wy;
                }
            }
            out.at(i, j) = weight > 0.f ? sum * (1.f / weight) : Rgb{};
        }
    }
    return out;
}

uint32_t hash3(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float hash01(int x, int y, uint32_t seed) {
    return static_cast<float>(hash3(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) >>
                              8) /
           16777216.f;
}

float value_noise(float x, float y, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.f - 2.f * tx);
    ty = ty * ty * (3.f - 2.f * ty);
    const float a = hash01(ix, iy, seed), b = hash01(ix + 1, iy, seed);
    const float c = hash01(ix, iy + 1, seed), d = hash01(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float fbm(float x, float y, uint32_t seed, int octaves, float gain) {
    float sum = 0.f, amp = 0.5f, norm = 0.f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * value_noise(x, y, seed + static_cast<uint32_t>(o) * 101u);
        norm += amp;
        amp *= gain;
        // A slight rotation between octaves hides the lattice.
        const float nx = x * 1.6f - y * 1.2f, ny = x * 1.2f + y * 1.6f;
        x = nx + 17.3f;
        y = ny + 5.1f;
    }
    return sum / norm;
}

float sd_circle(float px, float py, float cx, float cy, float r) {
    return std::hypot(px - cx, py - cy) - r;
}

float sd_box(float px, float py, float cx, float cy, float hw, float hh, float radius) {
    const float qx = std::abs(px - cx) - (hw - radius), qy = std::abs(py - cy) - (hh - radius);
    const float outside = std::hypot(std::max(qx, 0.f), std::max(qy, 0.f));
    return outside + std::min(std::max(qx, qy), 0.f) - radius;
}

float sd_segment(float px, float py, float ax, float ay, float bx, float by) {
    const float vx = bx - ax, vy = by - ay, wx = px - ax, wy = py - ay;
    const float len2 = vx * vx + vy * vy;
    const float t = len2 > 0.f ? clamp01((wx * vx + wy * vy) / len2) : 0.f;
    return std::hypot(wx - vx * t, wy - vy * t);
}

float sd_polygon(float px, float py, const std::vector<Vec2>& poly) {
    float d = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Vec2 a = poly[j], b = poly[i];
        d = std::min(d, sd_segment(px, py, a.x, a.y, b.x, b.y));
        if ((b.y > py) != (a.y > py) && px < (a.x - b.x) * (py - b.y) / (a.y - b.y) + b.x)
            inside = !inside;
    }
    return inside ? -d : d;
}

void fill_rect(Image& img, int x, int y, int w, int h, Rgb c, float alpha) {
    for (int j = std::max(y, 0); j < std::min(y + h, img.height()); ++j)
        for (int i = std::max(x, 0); i < std::min(x + w, img.width()); ++i)
            img.blend(i, j, c, alpha);
}

void fill_round_rect(Image& img, float x, float y, float w, float h, float r, Rgb c, float alpha) {
    const float cx = x + w / 2, cy = y + h / 2;
    fill(
        img, static_cast<int>(x) - 1, static_cast<int>(y) - 1, static_cast<int>(x + w) + 2,
        static_cast<int>(y + h) + 2,
        [=](float px, float py) { return sd_box(px, py, cx, cy, w / 2, h / 2, r); }, c, alpha);
}

void stroke_round_rect(Image& img, float x, float y, float w, float h, float r, float width, Rgb c,
                       float alpha) {
    const float cx = x + w / 2, cy = y + h / 2;
    const int m = static_cast<int>(width) + 2;
    fill(
        img, static_cast<int>(x) - m, static_cast<int>(y) - m, static_cast<int>(x + w) + m,
        static_cast<int>(y + h) + m,
        [=](float px, float py) {
            return std::abs(sd_box(px, py, cx, cy, w / 2, h / 2, r)) - width / 2;
        },
        c, alpha);
}

void fill_circle(Image& img, float cx, float cy, float r, Rgb c, float alpha) {
    fill(
        img, static_cast<int>(cx - r) - 1, static_cast<int>(cy - r) - 1,
        static_cast<int>(cx + r) + 2, static_cast<int>(cy + r) + 2,
        [=](float px, float py) { return sd_circle(px, py, cx, cy, r); }, c, alpha);
}

void stroke_circle(Image& img, float cx, float cy, float r, float width, Rgb c, float alpha) {
    const float o = r + width;
    fill(
        img, static_cast<int>(cx - o) - 1, static_cast<int>(cy - o) - 1,
        static_cast<int>(cx + o) + 2, static_cast<int>(cy + o) + 2,
        [=](float px, float py) { return std::abs(sd_circle(px, py, cx, cy, r)) - width / 2; }, c,
        alpha);
}

void draw_line(Image& img, float ax, float ay, float bx, float by, float width, Rgb c,
               float alpha) {
    const float m = width + 2;
    fill(
        img, static_cast<int>(std::min(ax, bx) - m), static_cast<int>(std::min(ay, by) - m),
        static_cast<int>(std::max(ax, bx) + m), static_cast<int>(std::max(ay, by) + m),
        [=](float px, float py) { return sd_segment(px, py, ax, ay, bx, by) - width / 2; }, c,
        alpha);
}

void fill_polygon(Image& img, const std::vector<Vec2>& poly, Rgb c, float alpha) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (const Vec2& p : poly) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    fill(
        img, static_cast<int>(x0) - 1, static_cast<int>(y0) - 1, static_cast<int>(x1) + 2,
        static_cast<int>(y1) + 2, [&](float px, float py) { return sd_polygon(px, py, poly); }, c,
        alpha);
}

Mask blur(const Mask& m, int radius) {
    if (radius <= 0) return m;
    Mask a = m, b(m.width, m.height);
    const float norm = 1.f / static_cast<float>(2 * radius + 1);
    // Three box passes approximate a gaussian.
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < m.height; ++y) {
            float sum = 0.f;
            for (int x = -radius; x <= radius; ++x) sum += a.at(x, y);
            for (int x = 0; x < m.width; ++x) {
                b.ref(x, y) = sum * norm;
                sum += a.at(x + radius + 1, y) - a.at(x - radius, y);
            }
        }
        for (int x = 0; x < m.width; ++x) {
            float sum = 0.f;
            for (int y = -radius; y <= radius; ++y) sum += b.at(x, y);
            for (int y = 0; y < m.height; ++y) {
                a.ref(x, y) = sum * norm;
                sum += b.at(x, y + radius + 1) - b.at(x, y - radius);
            }
        }
    }
    return a;
}

Mask dilate(const Mask& m, float radius) {
    Mask out(m.width, m.height);
    const int r = static_cast<int>(std::ceil(radius));
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            float best = 0.f;
            for (int dy = -r; dy <= r && best < 1.f; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    const float w = clamp01(
                        radius + 0.5f - std::hypot(static_cast<float>(dx), static_cast<float>(dy)));
                    if (w > 0.f) best = std::max(best, m.at(x + dx, y + dy) * w);
                }
            }
            out.ref(x, y) = best;
        }
    }
    return out;
}

void paint_mask(Image& img, const Mask& m, int dx, int dy, Rgb c, float alpha) {
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            const float a = m.at(x, y);
            if (a > 0.f) img.blend(dx + x, dy + y, c, a * alpha);
        }
}

void vignette(Image& img, float strength) {
    const float cx = static_cast<float>(img.width()) / 2, cy = static_cast<float>(img.height()) / 2;
    const float rmax = std::hypot(cx, cy);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const float d =
                std::hypot(static_cast<float>(x) - cx, static_cast<float>(y) - cy) / rmax;
            img.at(x, y) = img.at(x, y) * (1.f - strength * d * d);
        }
}

void add_grain(Image& img, uint32_t seed, float amount) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const float n = (hash01(x, y, seed) - 0.5f) * amount;
            img.at(x, y) = img.at(x, y) + Rgb{n, n, n};
        }
}

}  // namespace assetgen
