#include "platform/win32/window_icon.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gfx/bmp.h"
#include "platform/data_file.h"

namespace platform::win32 {

namespace {

// An icon is a few KiB; anything far larger is not the pack's.
constexpr uint64_t kMaxIconFileSize = 4 << 20;

}  // namespace

std::optional<gfx::Surface> icon_pixels(std::span<const uint8_t> bytes) {
    Result<gfx::Surface> pixels = gfx::decode_bmp(bytes, gfx::BmpAlpha::Keep);
    if (!pixels) return std::nullopt;
    // Most 32-bit files leave the fourth byte zero, and any other file has none: opaque.
    std::vector<uint32_t>& all = pixels->pixels();
    if (std::none_of(all.begin(), all.end(), [](uint32_t p) { return (p >> 24) != 0; })) {
        for (uint32_t& p : all) p |= 0xFF000000u;
    }
    return std::move(*pixels);
}

gfx::Surface icon_of_size(const gfx::Surface& argb, int size) {
    gfx::Surface out(size, size);
    const int w = argb.width();
    const int h = argb.height();
    for (int ty = 0; ty < size; ++ty) {
        const int y0 = ty * h / size;
        const int y1 = std::max(y0 + 1, (ty + 1) * h / size);
        for (int tx = 0; tx < size; ++tx) {
            const int x0 = tx * w / size;
            const int x1 = std::max(x0 + 1, (tx + 1) * w / size);
            uint64_t a = 0, r = 0, g = 0, b = 0, n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x, ++n) {
                    const uint32_t p = argb.pixel(x, y);
                    const uint32_t pa = p >> 24;
                    a += pa;
                    r += ((p >> 16) & 0xFF) * pa;
                    g += ((p >> 8) & 0xFF) * pa;
                    b += (p & 0xFF) * pa;
                }
            const uint32_t colour = a == 0 ? 0
                                           : static_cast<uint32_t>(r / a) << 16 |
                                                 static_cast<uint32_t>(g / a) << 8 |
                                                 static_cast<uint32_t>(b / a);
            out.set_pixel(tx, ty, static_cast<uint32_t>(a / n) << 24 | colour);
        }
    }
    return out;
}

HICON make_icon(const gfx::Surface& argb) {
    const int w = argb.width();
    const int h = argb.height();
    if (w <= 0 || h <= 0) return nullptr;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = w;
    header.bV5Height = -h;  // top-down, as the surface
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header),
                                            DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour || !bits) {
        if (colour) DeleteObject(colour);
        return nullptr;
    }
    std::memcpy(bits, argb.pixels().data(), argb.pixels().size() * sizeof(uint32_t));
    // The mask is all clear: the alpha says what shows.
    const std::vector<uint8_t> clear(static_cast<size_t>((w + 15) / 16 * 2) * h, 0);
    const HBITMAP mask = CreateBitmap(w, h, 1, 1, clear.data());
    HICON icon = nullptr;
    if (mask) {
        ICONINFO info{};
        info.fIcon = TRUE;
        info.hbmMask = mask;
        info.hbmColor = colour;
        icon = CreateIconIndirect(&info);
        DeleteObject(mask);
    }
    DeleteObject(colour);
    return icon;
}

WindowIcons load_window_icons(const std::filesystem::path& file) {
    WindowIcons icons;
    if (file.empty()) return icons;
    const FileBytes read = read_data_file(file, kMaxIconFileSize);
    if (!read) return icons;
    const std::optional<gfx::Surface> pixels = icon_pixels(*read);
    if (!pixels) return icons;
    icons.big_icon = make_icon(icon_of_size(*pixels, GetSystemMetrics(SM_CXICON)));
    icons.small_icon = make_icon(icon_of_size(*pixels, GetSystemMetrics(SM_CXSMICON)));
    return icons;
}

}  // namespace platform::win32
