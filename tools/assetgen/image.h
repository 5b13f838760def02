#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gfx/surface.h"
#include "platform/platform.h"

// The generator's canvas: float colour with coverage, so shapes, text and glows blend
// smoothly before the picture is rounded into the game's 24-bit pixels.
namespace assetgen {

struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Rgb operator*(Rgb a, Rgb b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline Rgb mix(Rgb a, Rgb b, float t) {
    return a * (1.f - t) + b * t;
}
// 0xRRGGBB.
inline Rgb hex(uint32_t v) {
    return {static_cast<float>((v >> 16) & 0xFF) / 255.f,
            static_cast<float>((v >> 8) & 0xFF) / 255.f, static_cast<float>(v & 0xFF) / 255.f};
}
// Every screen picture fills the game's screen.
using platform::kScreenHeight;
using platform::kScreenWidth;

// A pixel coordinate as a float, for the shape functions.
inline float fx(int v) {
    return static_cast<float>(v);
}
// Hue in turns (0..1), saturation and value 0..1.
Rgb hsv(float h, float s, float v);
inline float clamp01(float v) {
    return std::clamp(v, 0.f, 1.f);
}
inline float smoothstep(float a, float b, float x) {
    const float t = clamp01((x - a) / (b - a));
    return t * t * (3.f - 2.f * t);
}

class Image {
  public:
    Image() = default;
    Image(int width, int height, Rgb fill = {}, float alpha = 1.f);

    int width() const { return width_; }
    int height() const { return height_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb& at(int x, int y) { return rgb_[index(x, y)]; }
    Rgb at(int x, int y) const { return rgb_[index(x, y)]; }
    float& alpha(int x, int y) { return alpha_[index(x, y)]; }
    float alpha(int x, int y) const { return alpha_[index(x, y)]; }

    // Paints colour c over pixel (x, y) with coverage a; pixels outside are ignored.
    void blend(int x, int y, Rgb c, float a);
    // Composites another image over this one with its top-left at (dx, dy).
    void draw(const Image& src, int dx, int dy, float opacity = 1.f);
    Image crop(int x, int y, int w, int h) const;

    // The picture as the game's pixels, opaque.
    gfx::Surface to_surface() const;
    // A sprite: pixels under half coverage become `key` (the sheet's transparent colour);
    // a visible pixel that happens to equal the key is nudged off it.
    gfx::Surface to_sprite(uint32_t key) const;

  private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> rgb_;
    std::vector<float> alpha_;
};

// An image's pixels from a game surface, opaque.
Image from_surface(const gfx::Surface& s);
// Area-averaged scaling of the w x h rectangle at (x, y) to out_w x out_h.
Image resample(const Image& src, float x, float y, float w, float h, int out_w, int out_h);

// Deterministic noise: the same values on every run and machine.
uint32_t hash3(uint32_t a, uint32_t b, uint32_t c);
float hash01(int x, int y, uint32_t seed);
float value_noise(float x, float y, uint32_t seed);
float fbm(float x, float y, uint32_t seed, int octaves, float gain = 0.5f);

// Signed distances (negative inside) for shapes drawn with soft, one-pixel edges.
float sd_circle(float px, float py, float cx, float cy, float r);
float sd_box(float px, float py, float cx, float cy, float hw, float hh, float radius = 0.f);
float sd_segment(float px, float py, float ax, float ay, float bx, float by);
struct Vec2 {
    float x, y;
};
float sd_polygon(float px, float py, const std::vector<Vec2>& poly);
inline float coverage(float d) {
    return clamp01(0.5f - d);
}

// Fills the pixels of the box [x0, x1) x [y0, y1) where `sdf` is inside, coloured by
// `shade(x, y)`, with soft edges.
template <typename Sdf, typename Shade>
void fill_shaded(Image& img, int x0, int y0, int x1, int y1, Sdf sdf, Shade shade,
                 float alpha = 1.f) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, img.width());
    y1 = std::min(y1, img.height());
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
            const float c = coverage(sdf(fx, fy));
            if (c > 0.f) img.blend(x, y, shade(fx, fy), c * alpha);
        }
    }
}

template <typename Sdf>
void fill(Image& img, int x0, int y0, int x1, int y1, Sdf sdf, Rgb colour, float alpha = 1.f) {
    fill_shaded(
        img, x0, y0, x1, y1, sdf, [colour](float, float) { return colour; }, alpha);
}

// Common shapes.
void fill_rect(Image& img, int x, int y, int w, int h, Rgb c, float alpha = 1.f);
void fill_round_rect(Image& img, float x, float y, float w, float h, float r, Rgb c,
                     float alpha = 1.f);
void stroke_round_rect(Image& img, float x, float y, float w, float h, float r, float width, Rgb c,
                       float alpha = 1.f);
void fill_circle(Image& img, float cx, float cy, float r, Rgb c, float alpha = 1.f);
void stroke_circle(Image& img, float cx, float cy, float r, float width, Rgb c, float alpha = 1.f);
void draw_line(Image& img, float ax, float ay, float bx, float by, float width, Rgb c,
               float alpha = 1.f);
void fill_polygon(Image& img, const std::vector<Vec2>& poly, Rgb c, float alpha = 1.f);

// A coverage mask and its blur, for glows and shadows.
struct Mask {
    int width = 0, height = 0;
    std::vector<float> v;
    Mask() = default;
    Mask(int w, int h) : width(w), height(h), v(static_cast<size_t>(w) * h, 0.f) {}
    float at(int x, int y) const {
        return (x < 0 || y < 0 || x >= width || y >= height)
                   ? 0.f
                   : v[static_cast<size_t>(y) * width + x];
    }
    float& ref(int x, int y) { return v[static_cast<size_t>(y) * width + x]; }
};
Mask blur(const Mask& m, int radius);
// Grows a mask by `radius` pixels (round brush).
Mask dilate(const Mask& m, float radius);
// Paints colour through a mask placed at (dx, dy).
void paint_mask(Image& img, const Mask& m, int dx, int dy, Rgb c, float alpha = 1.f);

// Darkens the picture towards its edges.
void vignette(Image& img, float strength);
// Adds fine grain so that no area of a picture is flat.
void add_grain(Image& img, uint32_t seed, float amount);

}  // namespace assetgen
