#include "platform/win32/display.h"

#include <cstring>

#include "platform/screen_fit.h"
#include "platform/win32/text.h"

namespace platform::win32 {

namespace {

constexpr DWORD kLostWaitMs = 50;  // while there is nothing to show, don't spin

template <class T>
void release_one(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

DDSURFACEDESC2 described(DWORD flags) {
    DDSURFACEDESC2 desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = flags;
    return desc;
}

// The frame's own layout: 32 bits, 0x00RRGGBB.
bool is_xrgb(const DDPIXELFORMAT& format) {
    return (format.dwFlags & DDPF_RGB) && format.dwRGBBitCount == 32 &&
           format.dwRBitMask == 0x00FF0000 && format.dwGBitMask == 0x0000FF00 &&
           format.dwBBitMask == 0x000000FF;
}

std::string hresult_text(const char* what, HRESULT hr) {
    return std::string(what) + " failed (" + system_message(static_cast<unsigned long>(hr)) + ")";
}

}  // namespace

Result<void> Display::open(HWND window, bool full_screen) {
    window_ = window;
    HRESULT hr =
        DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&draw_), IID_IDirectDraw7, nullptr);
    if (FAILED(hr)) return Error{ErrorKind::Failed, hresult_text("DirectDrawCreateEx", hr)};
    if (full_screen && open_full_screen()) return {};
    return open_windowed();
}

bool Display::open_full_screen() {
    const DWORD level = DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWREBOOT;
    if (FAILED(draw_->SetCooperativeLevel(window_, level)) ||
        FAILED(draw_->SetDisplayMode(kScreenWidth, kScreenHeight, 32, 0, 0))) {
        draw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
        return false;
    }
    DDSURFACEDESC2 desc = described(DDSD_CAPS | DDSD_BACKBUFFERCOUNT);
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(draw_->CreateSurface(&desc, &primary_, nullptr)) ||
        FAILED(primary_->GetAttachedSurface(&caps, &back_))) {
        release_one(back_);
        release_one(primary_);
        draw_->RestoreDisplayMode();
        draw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
        return false;
    }
    DDSURFACEDESC2 made = described(0);
    copy_is_xrgb_ = SUCCEEDED(back_->GetSurfaceDesc(&made)) && is_xrgb(made.ddpfPixelFormat);
    full_screen_ = true;
    return true;
}

Result<void> Display::open_windowed() {
    HRESULT hr = draw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
    DDSURFACEDESC2 primary = described(DDSD_CAPS);
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (SUCCEEDED(hr)) hr = draw_->CreateSurface(&primary, &primary_, nullptr);
    if (SUCCEEDED(hr)) hr = draw_->CreateClipper(0, &clipper_, nullptr);
    if (SUCCEEDED(hr)) hr = clipper_->SetHWnd(0, window_);
    if (SUCCEEDED(hr)) hr = primary_->SetClipper(clipper_);
    // The copy takes the desktop's format: a blit converts no formats, and a 16-bit desktop
    // would show nothing of an XRGB copy.
    DDSURFACEDESC2 copy = described(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT);
    copy.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    copy.dwWidth = kScreenWidth;
    copy.dwHeight = kScreenHeight;
    if (SUCCEEDED(hr)) hr = draw_->CreateSurface(&copy, &back_, nullptr);
    DDSURFACEDESC2 made = described(0);
    if (SUCCEEDED(hr)) hr = back_->GetSurfaceDesc(&made);
    if (SUCCEEDED(hr)) copy_is_xrgb_ = is_xrgb(made.ddpfPixelFormat);
    if (FAILED(hr))
        return Error{ErrorKind::Failed,
                     hresult_text("setting up the window's DirectDraw surfaces", hr)};
    return {};
}

void Display::release() {
    release_one(clipper_);
    if (!full_screen_) release_one(back_);
    back_ = nullptr;  // part of the flip chain: it goes with the primary surface
    release_one(primary_);
    if (draw_ && full_screen_) draw_->RestoreDisplayMode();
    release_one(draw_);
    full_screen_ = false;
}

HRESULT Display::copy_in(IDirectDrawSurface7* target, const gfx::Surface& frame) {
    if (!copy_is_xrgb_) return convert_in(target, frame);
    DDSURFACEDESC2 desc = described(0);
    HRESULT hr = target->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
    if (FAILED(hr)) return hr;
    const auto* from = frame.pixels().data();
    auto* to = static_cast<uint8_t*>(desc.lpSurface);
    const size_t row = static_cast<size_t>(kScreenWidth) * sizeof(uint32_t);
    for (int y = 0; y < kScreenHeight; ++y) {
        std::memcpy(to + static_cast<size_t>(y) * desc.lPitch, from + y * kScreenWidth, row);
    }
    return target->Unlock(nullptr);
}

// Any other desktop format, palettes included, is GDI's to convert to.
HRESULT Display::convert_in(IDirectDrawSurface7* target, const gfx::Surface& frame) {
    HDC dc = nullptr;
    HRESULT hr = target->GetDC(&dc);
    if (FAILED(hr)) return hr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kScreenWidth;
    info.bmiHeader.biHeight = -kScreenHeight;  // top row first, as the frame is kept
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int rows = SetDIBitsToDevice(dc, 0, 0, kScreenWidth, kScreenHeight, 0, 0, 0,
                                       kScreenHeight, frame.pixels().data(), &info, DIB_RGB_COLORS);
    hr = target->ReleaseDC(dc);
    if (SUCCEEDED(hr) && rows == 0) hr = E_FAIL;
    return hr;
}

HRESULT Display::show_windowed() {
    RECT client;
    GetClientRect(window_, &client);
    const PictureFit fit = fit_picture(client.right, client.bottom);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    RECT dest{fit.x, fit.y, fit.x + fit.width, fit.y + fit.height};
    OffsetRect(&dest, origin.x, origin.y);
    return primary_->Blt(&dest, back_, nullptr, DDBLT_WAIT, nullptr);
}

FlipResult Display::present(const gfx::Surface& frame) {
    if (!draw_ || !back_) return FlipResult::Ok;
    if (IsIconic(window_)) {
        Sleep(kLostWaitMs);
        return FlipResult::Lost;
    }
    HRESULT hr = copy_in(back_, frame);
    if (SUCCEEDED(hr)) hr = full_screen_ ? primary_->Flip(nullptr, DDFLIP_WAIT) : show_windowed();
    if (hr == DDERR_SURFACELOST) {
        Sleep(kLostWaitMs);
        return FlipResult::Lost;
    }
    return FlipResult::Ok;  // any other failure drops this frame only
}

void Display::restore() {
    if (!primary_) return;
    HRESULT hr = primary_->Restore();
    if (hr == DDERR_WRONGMODE && full_screen_) {
        // Another program changed the mode: ours must be set again before anything returns.
        draw_->SetDisplayMode(kScreenWidth, kScreenHeight, 32, 0, 0);
        draw_->RestoreAllSurfaces();
        return;
    }
    if (hr == DDERR_WRONGMODE && !full_screen_) {
        // The desktop's format changed under the window: the copy must take the new one.
        release_one(clipper_);
        release_one(back_);
        release_one(primary_);
        // A failure shows at the next flip, which reports the surfaces lost again.
        (void)open_windowed();
        return;
    }
    if (!full_screen_ && back_) back_->Restore();
}

}  // namespace platform::win32
