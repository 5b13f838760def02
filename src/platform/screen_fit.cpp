#include "platform/screen_fit.h"

#include <algorithm>

namespace platform {

namespace {

// Rounds towards minus infinity, so that the bars left of and above the picture map off it.
int floor_div(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

PictureFit fit_picture(int area_w, int area_h) {
    PictureFit fit;
    fit.scale = std::max(1, std::min(area_w / kScreenWidth, area_h / kScreenHeight));
    fit.width = kScreenWidth * fit.scale;
    fit.height = kScreenHeight * fit.scale;
    fit.x = (area_w - fit.width) / 2;
    fit.y = (area_h - fit.height) / 2;
    return fit;
}

ScreenPoint to_screen(int x, int y, const PictureFit& fit) {
    return {std::clamp(floor_div(x - fit.x, fit.scale), 0, kScreenWidth - 1),
            std::clamp(floor_div(y - fit.y, fit.scale), 0, kScreenHeight - 1)};
}

}  // namespace platform
