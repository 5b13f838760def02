#pragma once
// windows.h goes first: the headers after it build on it.
// clang-format off
#include <windows.h>
#include <ddraw.h>
// clang-format on

#include "gfx/surface.h"
#include "platform/platform.h"
#include "platform/result.h"

namespace platform::win32 {

// DirectDraw presentation. Full screen, the display is set to 640 x 480 x 32 and frames are
// flipped; where that mode can't be had, or in a window, frames are copied to an off-screen
// surface in the desktop's format and blitted, scaled by a whole number, into the window
// through a clipper.
class Display {
  public:
    Display() = default;
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
    ~Display() { release(); }

    // Fails, with the reason, when DirectDraw can't show anything at all.
    Result<void> open(HWND window, bool full_screen);
    bool full_screen() const { return full_screen_; }
    // Shows the frame; Lost while the surfaces are lost or the window is minimised.
    FlipResult present(const gfx::Surface& frame);
    // Brings lost surfaces back, setting the display mode again where it was changed.
    void restore();
    void release();

  private:
    bool open_full_screen();
    Result<void> open_windowed();
    HRESULT copy_in(IDirectDrawSurface7* target, const gfx::Surface& frame);
    HRESULT convert_in(IDirectDrawSurface7* target, const gfx::Surface& frame);
    HRESULT show_windowed();

    HWND window_ = nullptr;
    IDirectDraw7* draw_ = nullptr;
    IDirectDrawSurface7* primary_ = nullptr;
    IDirectDrawSurface7* back_ = nullptr;  // the flip chain's back buffer, or the off-screen copy
    IDirectDrawClipper* clipper_ = nullptr;
    bool full_screen_ = false;
    bool copy_is_xrgb_ = true;  // else frames go through GDI into the copy
};

}  // namespace platform::win32
