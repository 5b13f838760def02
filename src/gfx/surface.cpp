#include "gfx/surface.h"

#include <algorithm>
#include <cstring>

namespace gfx {

uint32_t color_to_pixel(ColorRef colour, const PixelFormat& format) {
    const uint32_t r = colour & 0xFFu;
    const uint32_t g = (colour >> 8) & 0xFFu;
    const uint32_t b = (colour >> 16) & 0xFFu;
    return ((b * format.blue_mask) / 255u & format.blue_mask) |
           ((g * format.green_mask) / 255u & format.green_mask) |
           ((r * format.red_mask) / 255u & format.red_mask);
}

Surface::Surface(int width, int height, uint32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

void Surface::fill(uint32_t value) {
    std::fill(pixels_.begin(), pixels_.end(), value);
}

namespace {

#if defined(__GNUC__)
// Four pixels at a time, one SSE2 or NEON register; wider vectors without AVX come out slower.
using Lanes = uint32_t __attribute__((vector_size(16)));
constexpr int kLanes = static_cast<int>(sizeof(Lanes) / sizeof(uint32_t));
#endif

void copy_row_keyed(uint32_t* __restrict out, const uint32_t* __restrict in, int n, uint32_t key) {
    int i = 0;
#if defined(__GNUC__)
    // The plain loop below is not vectorised at -O2 (it reads as a conditional store), so
    // the hot part blends whole vectors: lanes equal to the key keep the target's pixel.
    const Lanes keys = Lanes{} + key;
    for (; i + kLanes <= n; i += kLanes) {
        Lanes s;
        Lanes d;
        std::memcpy(&s, in + i, sizeof s);
        std::memcpy(&d, out + i, sizeof d);
        const Lanes keep = reinterpret_cast<Lanes>(s == keys);
        d = (d & keep) | (s & ~keep);
        std::memcpy(out + i, &d, sizeof d);
    }
#endif
    for (; i < n; ++i) {
        const uint32_t s = in[i];
        out[i] = (s == key) ? out[i] : s;
    }
}

// Opaque pixels, a row or a whole picture. In wasm, emscripten's memcpy moves a copy under 512
// bytes (a piece's row is 320) four bytes at a time and hands a longer one to a call out to
// JavaScript; the bulk-memory instruction memory.copy, which every browser with wasm SIMD
// has, is the engine's own fast copy for both.
#if defined(__wasm_simd128__)
__attribute__((target("bulk-memory")))
#endif
void copy_pixels(uint32_t* __restrict out, const uint32_t* __restrict in, size_t n) {
    std::memcpy(out, in, n * sizeof(uint32_t));
}

}  // namespace

bool blit(Surface& dst, int dx, int dy, const Surface& src, const Rect& src_rect, bool keyed) {
    if (dst.empty() || src.empty()) return false;
    if (src_rect.left < 0 || src_rect.top < 0 || src_rect.right > src.width() ||
        src_rect.bottom > src.height() || src_rect.width() <= 0 || src_rect.height() <= 0) {
        return false;
    }
    int sx = src_rect.left;
    int sy = src_rect.top;
    int w = src_rect.width();
    int h = src_rect.height();
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min(w, dst.width() - dx);
    h = std::min(h, dst.height() - dy);
    if (w <= 0 || h <= 0) return false;

    const bool use_key = keyed && src.color_key().has_value();
    const uint32_t key = use_key ? *src.color_key() : 0;
    // A picture as wide as the target, as the board behind the play screen is, lies in one
    // run of memory in both, and goes over in one copy rather than one a row.
    if (!use_key && w == src.width() && w == dst.width() && &dst != &src) {
        copy_pixels(dst.row(dy), src.row(sy), static_cast<size_t>(w) * h);
        return true;
    }
    for (int y = 0; y < h; ++y) {
        uint32_t* out = dst.row(dy + y) + dx;
        const uint32_t* in = src.row(sy + y) + sx;
        if (use_key) {
            copy_row_keyed(out, in, w, key);
        } else {
            copy_pixels(out, in, static_cast<size_t>(w));
        }
    }
    return true;
}

}  // namespace gfx
