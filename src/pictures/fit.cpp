#include "pictures/fit.h"

#include <algorithm>
#include <cstdint>

#include "pictures/decode.h"
#include "pictures/stb_codec.h"
#include "platform/platform.h"

namespace pictures {

gfx::Surface fit_picture(const gfx::Surface& picture) {
    constexpr int kWidth = platform::kScreenWidth, kHeight = platform::kScreenHeight;
    gfx::Surface screen(kWidth, kHeight, kBackdrop);
    if (picture.empty()) return screen;
    const int64_t w = picture.width(), h = picture.height();
    // The largest area of the screen's shape that the picture holds, centred.
    int64_t crop_w = w, crop_h = h;
    if (w * kHeight > h * kWidth) {
        crop_w = std::max<int64_t>(1, h * kWidth / kHeight);
    } else {
        crop_h = std::max<int64_t>(1, w * kHeight / kWidth);
    }
    const int64_t left = (w - crop_w) / 2, top = (h - crop_h) / 2;
    const auto* start =
        reinterpret_cast<const unsigned char*>(picture.row(static_cast<int>(top)) + left);
    // The four bytes of a pixel go through the filter alike, the unused top one cleared after.
    constexpr int kStride = kWidth * 4;
    if (!vasul_picture_resize(
            start, static_cast<int>(crop_w), static_cast<int>(crop_h), static_cast<int>(w * 4),
            reinterpret_cast<unsigned char*>(screen.pixels().data()), kWidth, kHeight, kStride))
        screen.fill(kBackdrop);
    for (uint32_t& pixel : screen.pixels()) pixel &= 0xFFFFFFu;
    return screen;
}

}  // namespace pictures
