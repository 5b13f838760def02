#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "assetgen/image.h"
#include "platform/result.h"

// Text from TrueType fonts through FreeType: glyph masks for the font sheets, and whole
// words painted with outline, gradient and glow onto the pictures.
namespace assetgen {

inline constexpr const char* kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
inline constexpr const char* kSerifBold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";

// A rendered run of text: its coverage, the pen's start and the baseline inside the mask,
// and the pen's total advance.
struct TextMask {
    Mask mask;
    int origin_x = 0;
    int baseline = 0;
    float advance = 0.f;
};

class Font {
  public:
    // Missing when there is no such file, Failed when it would not open, Invalid when it is not
    // a font FreeType reads.
    static platform::Result<std::unique_ptr<Font>> open(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The text at `size` pixels to the em, squeezed horizontally by x_scale, with `spacing`
    // extra pixels after each glyph.
    TextMask render(std::string_view text, float size, float x_scale = 1.f,
                    float spacing = 0.f) const;
    // The advance of the text alone, without rendering.
    float measure(std::string_view text, float size, float x_scale = 1.f,
                  float spacing = 0.f) const;
    // Distance from the baseline up to the top of the capitals.
    float cap_height(float size) const;

  private:
    Font() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

struct TextStyle {
    Rgb top = hex(0xFFFFFF);     // fill at the top of the capitals
    Rgb bottom = hex(0xFFFFFF);  // fill at the baseline
    Rgb outline = hex(0x101018);
    float outline_width = 0.f;
    float shadow_offset = 0.f;  // a soft shadow below right, 0 for none
    float shadow_alpha = 0.6f;
    int glow_radius = 0;  // a soft halo in glow colour, 0 for none
    Rgb glow = hex(0xFFD060);
    float glow_alpha = 0.8f;
};

// Paints text with its top-left (of the capitals' box, left edge of the pen) at (x, y).
void draw_text(Image& img, const Font& font, std::string_view text, float size, float x, float y,
               const TextStyle& style, float x_scale = 1.f, float spacing = 0.f);
// The same, centred horizontally on cx.
void draw_text_centred(Image& img, const Font& font, std::string_view text, float size, float cx,
                       float y, const TextStyle& style, float x_scale = 1.f, float spacing = 0.f);
// The horizontal squeeze (at most 1) that makes the text fit max_width.
float fit_scale(const Font& font, std::string_view text, float size, float max_width,
                float spacing = 0.f);

}  // namespace assetgen
