#pragma once
#include "platform/platform.h"

namespace platform {

// Where the 640 x 480 picture lies in an area of pixels: the largest whole-number scale that
// fits, centred, with black bars around it. The scale is never below 1, so an area smaller
// than the screen shows the picture's middle and cuts its edges.
struct PictureFit {
    int scale = 1;
    int x = 0;
    int y = 0;
    int width = kScreenWidth;
    int height = kScreenHeight;
};
PictureFit fit_picture(int area_w, int area_h);

// A point of the area in screen coordinates, clamped to the screen as an exclusive
// full-screen mode confines the pointer.
struct ScreenPoint {
    int x = 0;
    int y = 0;
};
ScreenPoint to_screen(int x, int y, const PictureFit& fit);

}  // namespace platform
