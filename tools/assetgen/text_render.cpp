#include "assetgen/text_render.h"

#include <filesystem>

// FreeType names its headers through macros that ft2build.h defines.
#include <ft2build.h>
#include FT_FREETYPE_H

namespace assetgen {

struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    // Loads and renders one character with the pen's fractional offset `dx`.
    bool load(char ch, float size, float x_scale, float dx) const {
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(size * 64.f)), 72, 72);
        FT_Matrix m{static_cast<FT_Fixed>(std::lround(x_scale * 65536.f)), 0, 0, 0x10000};
        FT_Vector delta{static_cast<FT_Pos>(std::lround(dx * 64.f)), 0};
        FT_Set_Transform(face, &m, &delta);
        return FT_Load_Char(face, static_cast<unsigned char>(ch),
                            FT_LOAD_RENDER | FT_LOAD_NO_HINTING) == 0;
    }
};

platform::Result<std::unique_ptr<Font>> Font::open(const std::string& path) {
    std::unique_ptr<Font> font(new Font());
    font->impl_ = std::make_unique<Impl>();
    if (FT_Init_FreeType(&font->impl_->library) != 0)
        return platform::fail(platform::ErrorKind::Failed, "FreeType could not start");
    if (const FT_Error error =
            FT_New_Face(font->impl_->library, path.c_str(), 0, &font->impl_->face)) {
        std::error_code ec;
        const auto kind = error != FT_Err_Cannot_Open_Resource ? platform::ErrorKind::Invalid
                          : std::filesystem::exists(path, ec)  ? platform::ErrorKind::Failed
                                                               : platform::ErrorKind::Missing;
        return platform::fail(
            kind, "cannot read the font " + path + " (Debian package fonts-dejavu-core)");
    }
    return font;
}

Font::~Font() {
    if (!impl_) return;
    if (impl_->face) FT_Done_Face(impl_->face);
    if (impl_->library) FT_Done_FreeType(impl_->library);
}

float Font::measure(std::string_view text, float size, float x_scale, float spacing) const {
    float pen = 0.f;
    for (char ch : text) {
        if (!impl_->load(ch, size, x_scale, 0.f)) continue;
        pen += static_cast<float>(impl_->face->glyph->advance.x) / 64.f + spacing;
    }
    return pen;
}

float Font::cap_height(float size) const {
    if (!impl_->load('H', size, 1.f, 0.f)) return size * 0.73f;
    return static_cast<float>(impl_->face->glyph->bitmap_top);
}

TextMask Font::render(std::string_view text, float size, float x_scale, float spacing) const {
    TextMask out;
    const int pad = static_cast<int>(std::ceil(size * 0.4f)) + 2;
    const float advance = measure(text, size, x_scale, spacing);
    out.origin_x = pad;
    out.baseline = static_cast<int>(std::ceil(size * 1.05f)) + 2;
    out.advance = advance;
    out.mask = Mask(static_cast<int>(std::ceil(advance)) + 2 * pad,
                    out.baseline + pad + 2 + static_cast<int>(size * 0.3f));
    float pen = 0.f;
    for (char ch : text) {
        const float whole = std::floor(pen);
        if (!impl_->load(ch, size, x_scale, pen - whole)) continue;
        const FT_GlyphSlot g = impl_->face->glyph;
        const FT_Bitmap& bm = g->bitmap;
        const int left = out.origin_x + static_cast<int>(whole) + g->bitmap_left;
        const int top = out.baseline - g->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row) {
            for (unsigned col = 0; col < bm.width; ++col) {
                const int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= out.mask.width || y >= out.mask.height) continue;
                const float v =
                    static_cast<float>(bm.buffer[row * static_cast<unsigned>(bm.pitch) + col]) /
                    255.f;
                out.mask.ref(x, y) = std::min(1.f, out.mask.at(x, y) + v);
            }
        }
        pen += static_cast<float>(g->advance.x) / 64.f + spacing;
    }
    return out;
}

float fit_scale(const Font& font, std::string_view text, float size, float max_width,
                float spacing) {
    const float w = font.measure(text, size, 1.f, spacing);
    return w <= max_width ? 1.f : max_width / w;
}

void draw_text(Image& img, const Font& font, std::string_view text, float size, float x, float y,
               const TextStyle& style, float x_scale, float spacing) {
    const TextMask t = font.render(text, size, x_scale, spacing);
    const float cap = font.cap_height(size);
    const int dx = static_cast<int>(std::lround(x)) - t.origin_x;
    const int dy = static_cast<int>(std::lround(y + cap)) - t.baseline;
    const int top = t.baseline - static_cast<int>(cap);
    if (style.glow_radius > 0) {
        const Mask glow =
            blur(dilate(t.mask, static_cast<float>(style.glow_radius) / 2), style.glow_radius);
        paint_mask(img, glow, dx, dy, style.glow, style.glow_alpha);
    }
    Mask body = style.outline_width > 0.f ? dilate(t.mask, style.outline_width) : t.mask;
    if (style.shadow_offset > 0.f) {
        const int o = static_cast<int>(std::lround(style.shadow_offset));
        paint_mask(img, blur(body, std::max(1, o / 2)), dx + o, dy + o, hex(0x000000),
                   style.shadow_alpha);
    }
    if (style.outline_width > 0.f) paint_mask(img, body, dx, dy, style.outline);
    for (int yy = 0; yy < t.mask.height; ++yy) {
        const float k = clamp01(static_cast<float>(yy - top) / std::max(cap, 1.f));
        const Rgb c = mix(style.top, style.bottom, k);
        for (int xx = 0; xx < t.mask.width; ++xx) {
            const float a = t.mask.at(xx, yy);
            if (a > 0.f) img.blend(dx + xx, dy + yy, c, a);
        }
    }
}

void draw_text_centred(Image& img, const Font& font, std::string_view text, float size, float cx,
                       float y, const TextStyle& style, float x_scale, float spacing) {
    const float w = font.measure(text, size, x_scale, spacing);
    draw_text(img, font, text, size, cx - w / 2, y, style, x_scale, spacing);
}

}  // namespace assetgen
