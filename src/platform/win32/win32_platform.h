#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/frame_pacer.h"
#include "platform/message_queue.h"
#include "platform/platform.h"
#include "platform/screen_fit.h"
#include "platform/win32/display.h"
#include "platform/win32/dsound_audio.h"

namespace platform::win32 {

// The game's message for a window message, if it is one the game hears; positions in the
// window, where the picture sits as view says, become 640 x 480 screen positions.
bool game_message(UINT id, WPARAM wparam, LPARAM lparam, const PictureFit& view, Message& out);

// The Windows backend: a window of class "Vasul", DirectDraw presentation, DirectSound, and
// the multimedia timer as the clock.
class Win32Platform final : public Platform {
  public:
    Win32Platform() = default;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;
    ~Win32Platform() override;

    bool open(bool windowed, std::string& error);

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

  private:
    static LRESULT CALLBACK window_proc(HWND window, UINT id, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT id, WPARAM wparam, LPARAM lparam);
    bool create_window(bool windowed);
    PictureFit view() const;
    void pace();

    HWND window_ = nullptr;
    Display display_;
    std::unique_ptr<DsoundAudio> audio_;
    gfx::Surface back_buffer_{kScreenWidth, kScreenHeight};
    MessageQueue queue_;
    uint32_t tick_offset_ = 0;
    FramePacer flip_pacer_;
    FramePacer window_pacer_ = FramePacer::always();
    bool timer_period_set_ = false;
    bool cursor_hidden_ = false;
};

}  // namespace platform::win32
