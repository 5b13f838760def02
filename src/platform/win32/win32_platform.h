#pragma once
#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/backend.h"
#include "platform/frame_pacer.h"
#include "platform/message_queue.h"
#include "platform/platform.h"
#include "platform/screen_fit.h"
#include "platform/win32/display.h"
#include "platform/win32/dsound_audio.h"
#include "platform/win32/window_icon.h"

namespace platform::win32 {

// The game's message for a window message, if it is one the game hears; positions in the
// window, where the picture sits as view says, become 640 x 480 screen positions.
bool game_message(UINT id, WPARAM wparam, LPARAM lparam, const PictureFit& view, Message& out);

// Alt+Enter and F11 belong to the window, not to the game: they switch between full screen
// and a window, and neither their presses nor their releases reach the scenes (nor, for
// Alt+Enter, Windows' own handling, which would beep). Holding the keys down switches once.
class DisplayKeys {
  public:
    enum class Use {
        Other,   // not a display key: the game and Windows hear it as ever
        Switch,  // switch now, and tell nobody else
        Keep,    // a display key's repeat, release or character: tell nobody
    };
    Use take(UINT id, WPARAM wparam, LPARAM lparam);

  private:
    bool enter_switched_ = false;  // Enter's release is kept too, even after Alt's
};

// The Windows backend: a window of class "Vasul", DirectDraw presentation, DirectSound, and
// the multimedia timer as the clock.
class Win32Platform final : public Platform {
  public:
    Win32Platform() = default;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;
    ~Win32Platform() override;

    // Opens full screen or in a window; the icon file is a BMP with transparency, the
    // system's default icon standing in when it can't be read. Each switch is told to
    // fullscreen_changed.
    Result<void> open(const BackendOptions& options);

    void begin_pass(uint64_t) override {}
    bool peek_message(Message& out) override;
    void post_message(const Message& message) override { queue_.push(message); }
    void destroy_window() override;
    gfx::Surface& back_buffer() override { return back_buffer_; }
    FlipResult flip() override;
    void restore() override { display_.restore(); }
    void hide_cursor() override;
    uint32_t ticks() override { return timeGetTime() + tick_offset_; }
    void set_ticks(uint32_t ms) override { tick_offset_ = ms - timeGetTime(); }
    AudioDevice& audio() override { return *audio_; }
    std::vector<std::filesystem::path> take_dropped_files() override {
        return std::exchange(dropped_, {});
    }

  private:
    static LRESULT CALLBACK window_proc(HWND window, UINT id, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT id, WPARAM wparam, LPARAM lparam);
    bool create_window(bool windowed);
    void set_icon(const std::filesystem::path& file);
    void place_window(bool full_screen);
    void switch_display();
    PictureFit view() const;
    void pace();

    HWND window_ = nullptr;
    Display display_;
    std::unique_ptr<DsoundAudio> audio_;
    gfx::Surface back_buffer_{kScreenWidth, kScreenHeight};
    MessageQueue queue_;
    std::vector<std::filesystem::path>
        dropped_;  // the last drop's files, until the game takes them
    uint32_t tick_offset_ = 0;
    FramePacer flip_pacer_;
    FramePacer window_pacer_ = FramePacer::always();
    bool timer_period_set_ = false;
    bool cursor_hidden_ = false;
    bool full_screen_ = false;   // as the player chose; the display may fill it with a window
    bool switch_asked_ = false;  // done at the next flip, outside the window procedure
    bool switched_ = false;      // the next flip reports Lost, so the scene restores its pictures
    DisplayKeys display_keys_;
    std::function<void(bool)> fullscreen_changed_;
    WindowIcons icons_;  // the pack's, made here and destroyed with the window
};

}  // namespace platform::win32
