#include "platform/win32/win32_platform.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "platform/log.h"
#include "platform/win32/dropped_files.h"
#include "platform/win32/text.h"

namespace platform::win32 {

namespace {

constexpr wchar_t kClassName[] = L"Vasul";
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;

uint32_t game_id(UINT id) {
    switch (id) {
        case WM_KEYDOWN:
            return kWmKeyDown;
        case WM_KEYUP:
            return kWmKeyUp;
        case WM_MOUSEMOVE:
            return kWmMouseMove;
        case WM_LBUTTONDOWN:
            return kWmLButtonDown;
        case WM_LBUTTONUP:
            return kWmLButtonUp;
        case WM_LBUTTONDBLCLK:
            return kWmLButtonDblClk;
        case WM_RBUTTONDOWN:
            return kWmRButtonDown;
        case WM_RBUTTONDBLCLK:
            return kWmRButtonDblClk;
        default:
            return 0;
    }
}

// The largest whole-number scale whose window fits the desktop's work area.
int windowed_scale() {
    RECT work{0, 0, kScreenWidth, kScreenHeight};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRect(&frame, kWindowStyle, FALSE);
    return fit_picture(work.right - work.left - (frame.right - frame.left),
                       work.bottom - work.top - (frame.bottom - frame.top))
        .scale;
}

// Where the window goes: the whole screen, or the largest whole-number scale centred in the
// work area.
RECT window_area(bool full_screen, DWORD& style) {
    if (full_screen) {
        style = kFullScreenStyle;
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    style = kWindowStyle;
    const int scale = windowed_scale();
    RECT area{0, 0, kScreenWidth * scale, kScreenHeight * scale};
    AdjustWindowRect(&area, style, FALSE);
    RECT work{0, 0, kScreenWidth, kScreenHeight};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    const int x = work.left + std::max(0, static_cast<int>(work.right - work.left - w) / 2);
    const int y = work.top + std::max(0, static_cast<int>(work.bottom - work.top - h) / 2);
    return {x, y, x + w, y + h};
}

// The key flags of a key message's lparam.
constexpr LPARAM kAltDown = LPARAM{1} << 29;
constexpr LPARAM kWasDown = LPARAM{1} << 30;

}  // namespace

DisplayKeys::Use DisplayKeys::take(UINT id, WPARAM wparam, LPARAM lparam) {
    // Alt+Enter's character, which Windows' own handling would answer with a beep.
    if (id == WM_SYSCHAR && wparam == '\r') return Use::Keep;
    const bool down = id == WM_KEYDOWN || id == WM_SYSKEYDOWN;
    const bool up = id == WM_KEYUP || id == WM_SYSKEYUP;
    if (!down && !up) return Use::Other;
    const bool repeat = (lparam & kWasDown) != 0;
    if (wparam == VK_F11) return down && !repeat ? Use::Switch : Use::Keep;
    if (wparam != VK_RETURN) return Use::Other;
    // Alt may be let go first: Enter's release then comes as a plain key.
    if (up) return std::exchange(enter_switched_, false) ? Use::Keep : Use::Other;
    if (id != WM_SYSKEYDOWN || (lparam & kAltDown) == 0) return Use::Other;
    enter_switched_ = true;
    return repeat ? Use::Keep : Use::Switch;
}

bool game_message(UINT id, WPARAM wparam, LPARAM lparam, const PictureFit& view, Message& out) {
    const uint32_t game = game_id(id);
    if (game == 0) return false;
    if (game == kWmKeyDown || game == kWmKeyUp) {
        out = key_message(game, static_cast<uint32_t>(wparam & 0xFF));
        return true;
    }
    const ScreenPoint p = to_screen(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), view);
    out = mouse_message(game, p.x, p.y);
    return true;
}

Win32Platform::~Win32Platform() {
    if (audio_) audio_->close();
    display_.release();
    if (window_) DestroyWindow(window_);
    if (icons_.big_icon) DestroyIcon(icons_.big_icon);
    if (icons_.small_icon) DestroyIcon(icons_.small_icon);
    if (cursor_hidden_) ShowCursor(TRUE);
    if (timer_period_set_) timeEndPeriod(1);
}

Result<void> Win32Platform::open(const BackendOptions& options) {
    // Millisecond sleeps and clock readings, as the game's timing expects.
    timer_period_set_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    if (!create_window(options.windowed))
        return Error{ErrorKind::Failed,
                     "cannot create the window: " + system_message(GetLastError())};
    set_icon(options.icon);
    if (Result<void> opened = display_.open(window_, !options.windowed); !opened) return opened;
    full_screen_ = !options.windowed;
    fullscreen_changed_ = options.fullscreen_changed;
    audio_ = std::make_unique<DsoundAudio>(window_);
    return {};
}

void Win32Platform::set_icon(const std::filesystem::path& file) {
    icons_ = load_window_icons(file);
    // Without them the class's icon, the system's default, stays.
    if (icons_.big_icon)
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons_.big_icon));
    if (icons_.small_icon)
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_.small_icon));
}

// Restyles and moves the window for the other mode; DirectDraw is released meanwhile.
void Win32Platform::place_window(bool full_screen) {
    DWORD style = 0;
    const RECT area = window_area(full_screen, style);
    SetWindowLongPtrW(window_, GWL_STYLE, static_cast<LONG_PTR>(style));
    // Full screen, DirectDraw may have put the window above all others: a window is not.
    SetWindowPos(window_, full_screen ? HWND_TOP : HWND_NOTOPMOST, area.left, area.top,
                 area.right - area.left, area.bottom - area.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

// Opens the display again in the other mode, or, failing that, in the one it was in; the next
// flip reports the surfaces lost, so that the scene restores its pictures as after any loss.
void Win32Platform::switch_display() {
    const bool full = !full_screen_;
    display_.release();
    place_window(full);
    switched_ = true;
    const Result<void> switched = display_.open(window_, full);
    if (switched) {
        full_screen_ = full;
        if (fullscreen_changed_) fullscreen_changed_(full);
        return;
    }
    warn("cannot switch the display: " + switched.error().reason);
    display_.release();
    place_window(full_screen_);
    if (const Result<void> reopened = display_.open(window_, full_screen_); !reopened)
        warn("cannot open the display: " + reopened.error().reason);
}

bool Win32Platform::create_window(bool windowed) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return false;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    DWORD style = kFullScreenStyle;
    if (windowed) {
        const int scale = windowed_scale();
        area = {0, 0, kScreenWidth * scale, kScreenHeight * scale};
        style = kWindowStyle;
        AdjustWindowRect(&area, style, FALSE);
    }
    const int x = windowed ? CW_USEDEFAULT : 0;
    const int y = windowed ? CW_USEDEFAULT : 0;
    window_ = CreateWindowExW(0, kClassName, L"Vasul", style, x, y, area.right - area.left,
                              area.bottom - area.top, nullptr, nullptr, instance, this);
    if (!window_) return false;
    // Pictures dropped on the window go into the player's folder.
    DragAcceptFiles(window_, TRUE);
    SetForegroundWindow(window_);
    SetFocus(window_);
    return true;
}

LRESULT CALLBACK Win32Platform::window_proc(HWND window, UINT id, WPARAM wparam, LPARAM lparam) {
    if (id == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->window_ == window) return self->handle(id, wparam, lparam);
    return DefWindowProcW(window, id, wparam, lparam);
}

LRESULT Win32Platform::handle(UINT id, WPARAM wparam, LPARAM lparam) {
    const HWND window = window_;
    switch (display_keys_.take(id, wparam, lparam)) {
        case DisplayKeys::Use::Switch:
            switch_asked_ = true;
            return 0;
        case DisplayKeys::Use::Keep:
            return 0;
        case DisplayKeys::Use::Other:
            break;
    }
    switch (id) {
        case WM_CLOSE:
            // The game decides: its shell destroys the window as Windows' default would.
            queue_.push({kWmClose, 0, 0});
            return 0;
        case WM_LBUTTONDOWN:
            // A drag that leaves the window still ends with its release.
            SetCapture(window);
            break;
        case WM_LBUTTONUP:
            ReleaseCapture();
            break;
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wparam);
            dropped_ = dropped_paths(drop);
            DragFinish(drop);
            if (!dropped_.empty())
                queue_.push({kWmDropFiles, static_cast<uint32_t>(dropped_.size()), 0});
            return 0;
        }
        default:
            break;
    }
    Message message;
    if (game_message(id, wparam, lparam, view(), message)) queue_.push(message);
    return DefWindowProcW(window, id, wparam, lparam);
}

PictureFit Win32Platform::view() const {
    if (display_.full_screen()) return {};
    RECT client{};
    GetClientRect(window_, &client);
    return fit_picture(client.right, client.bottom);
}

bool Win32Platform::peek_message(Message& out) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return queue_.pop(out);
}

void Win32Platform::destroy_window() {
    if (!window_) return;
    display_.release();
    const HWND window = window_;
    window_ = nullptr;  // the shell hears of the destruction from itself, not from Windows
    DestroyWindow(window);
}

void Win32Platform::hide_cursor() {
    if (!cursor_hidden_) ShowCursor(FALSE);
    cursor_hidden_ = true;
}

FlipResult Win32Platform::flip() {
    if (!window_) return FlipResult::Ok;  // nothing is shown after the window is gone
    if (std::exchange(switch_asked_, false)) switch_display();
    if (std::exchange(switched_, false)) return FlipResult::Lost;
    const FlipResult result = display_.present(back_buffer_);
    if (result == FlipResult::Ok) pace();
    return result;
}

// A full-screen flip may wait for the display, and then sets the pace itself; a window never
// does. The clock is counted in thirds of a millisecond, which keep 60 Hz exact.
void Win32Platform::pace() {
    FramePacer& pacer = display_.full_screen() ? flip_pacer_ : window_pacer_;
    const uint64_t wait = pacer.after_present(static_cast<uint64_t>(timeGetTime()) * 3, 3000);
    if (wait > 0) Sleep(static_cast<DWORD>(wait / 3));
}

}  // namespace platform::win32
