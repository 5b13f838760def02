#pragma once
#include <deque>
#include <utility>

#include "platform/headless/headless_audio.h"
#include "platform/platform.h"

namespace platform {

// The whole game without a screen or a sound card: a virtual clock that advances a fixed
// step per pass, a message queue fed by replays and tests, and a back buffer that stays in
// memory. Tests can make flips report lost surfaces.
class HeadlessPlatform final : public Platform {
  public:
    explicit HeadlessPlatform(uint32_t tick_ms = 16);

    void begin_pass(uint64_t pass) override;
    bool peek_message(Message& out) override;
    void post_message(const Message& message) override;
    void destroy_window() override { window_destroyed_ = true; }
    gfx::Surface& back_buffer() override { return back_buffer_; }
    FlipResult flip() override;
    void restore() override { ++restores_; }
    void hide_cursor() override { cursor_hidden_ = true; }
    uint32_t ticks() override;
    void set_ticks(uint32_t ms) override;
    AudioDevice& audio() override { return audio_; }

    std::vector<std::filesystem::path> take_dropped_files() override {
        return std::exchange(dropped_, {});
    }

    HeadlessAudio& headless_audio() { return audio_; }
    // Files dropped on the window, as a backend reports a drop.
    void drop_files(std::vector<std::filesystem::path> files);
    // The next n flips report lost surfaces.
    void lose_surfaces(int flips) { lost_flips_ = flips; }
    int flips() const { return flips_; }
    int restores() const { return restores_; }
    bool window_destroyed() const { return window_destroyed_; }
    bool cursor_hidden() const { return cursor_hidden_; }
    size_t queued() const { return queue_.size(); }
    uint64_t pass() const { return pass_; }

  private:
    uint32_t tick_ms_;
    std::vector<std::filesystem::path> dropped_;
    uint64_t pass_ = 0;
    uint64_t clock_pass_ = 0;  // the pass at which the clock was last set
    uint32_t clock_base_ = 0;  // and the value it was set to
    std::deque<Message> queue_;
    gfx::Surface back_buffer_;
    HeadlessAudio audio_;
    int lost_flips_ = 0;
    int flips_ = 0;
    int restores_ = 0;
    bool window_destroyed_ = false;
    bool cursor_hidden_ = false;
};

}  // namespace platform
