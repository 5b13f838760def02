#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace gfx {

// A rectangle as left, top, right, bottom; right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    constexpr Rect offset(int32_t dx, int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// A GDI colour value, 0x00BBGGRR.
using ColorRef = uint32_t;
constexpr ColorRef rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}

// Where the red, green and blue bits of a pixel lie.
struct PixelFormat {
    uint32_t red_mask = 0x00FF0000u;
    uint32_t green_mask = 0x0000FF00u;
    uint32_t blue_mask = 0x000000FFu;
};

// Turns a colour into the pixel value of a format by scaling each channel into its mask.
uint32_t color_to_pixel(ColorRef colour, const PixelFormat& format);

// The one pixel buffer: 32-bit XRGB pixels, row-major, with an optional source colour key.
class Surface {
  public:
    Surface() = default;
    Surface(int width, int height, uint32_t fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    const PixelFormat& format() const { return format_; }

    uint32_t* row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const uint32_t* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    uint32_t pixel(int x, int y) const { return row(y)[x]; }
    void set_pixel(int x, int y, uint32_t value) { row(y)[x] = value; }
    std::vector<uint32_t>& pixels() { return pixels_; }
    const std::vector<uint32_t>& pixels() const { return pixels_; }
    void fill(uint32_t value);

    const std::optional<uint32_t>& color_key() const { return color_key_; }
    void set_color_key(std::optional<uint32_t> key) { color_key_ = key; }

  private:
    int width_ = 0;
    int height_ = 0;
    PixelFormat format_;
    std::vector<uint32_t> pixels_;
    std::optional<uint32_t> color_key_;
};

// Copies src_rect of src to dst with its top-left at (dx, dy). A destination reaching past
// the target's edges is cut, and the source by the same amounts; a source rectangle reaching
// past the source surface is refused, as the display device refuses it. Keyed copies skip
// pixels equal to the source's colour key. Returns false when nothing could be drawn.
bool blit(Surface& dst, int dx, int dy, const Surface& src, const Rect& src_rect, bool keyed);

}  // namespace gfx
