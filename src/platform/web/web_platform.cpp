#include "platform/web/web_platform.h"

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/message_queue.h"
#include "platform/web/web_audio.h"
#include "platform/web/web_bridge.h"

namespace platform::web {

namespace {

// The canvas takes bytes in the order red, green, blue, alpha; the back buffer holds XRGB.
void to_rgba(const std::vector<uint32_t>& xrgb, std::vector<uint32_t>& rgba) {
    const size_t n = xrgb.size();
    const uint32_t* in = xrgb.data();
    uint32_t* out = rgba.data();
    for (size_t i = 0; i < n; ++i) {
        const uint32_t p = in[i];
        out[i] = 0xFF000000u | (p & 0x0000FF00u) | ((p & 0xFFu) << 16) | ((p >> 16) & 0xFFu);
    }
}

class WebPlatform final : public Platform {
  public:
    void begin_pass(uint64_t) override {}
    bool peek_message(Message& out) override;
    void post_message(const Message& message) override { queue_.push(message); }
    void destroy_window() override;
    gfx::Surface& back_buffer() override { return back_buffer_; }
    FlipResult flip() override;
    void restore() override {}
    void hide_cursor() override { vasul_web_hide_cursor(); }
    uint32_t ticks() override { return page_ms() + tick_offset_; }
    void set_ticks(uint32_t ms) override { tick_offset_ = ms - page_ms(); }
    AudioDevice& audio() override { return audio_; }
    std::vector<std::filesystem::path> take_dropped_files() override {
        return std::exchange(dropped_, {});
    }

  private:
    static uint32_t page_ms() {
        return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
    }
    void take_input();

    gfx::Surface back_buffer_{kScreenWidth, kScreenHeight};
    std::vector<uint32_t> rgba_ = std::vector<uint32_t>(back_buffer_.pixels().size());
    MessageQueue queue_;
    WebAudio audio_;
    uint32_t tick_offset_ = 0;
    bool closed_ = false;
    std::vector<std::filesystem::path> dropped_;
};

// The page writes drop k's files into a folder of their own before it tells the game.
std::vector<std::filesystem::path> drop_folder_files(uint32_t k) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    const std::filesystem::path folder = "/tmp/vasul-drop/" + std::to_string(k);
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool WebPlatform::peek_message(Message& out) {
    take_input();
    return queue_.pop(out);
}

void WebPlatform::take_input() {
    constexpr int kBatch = 64;
    std::array<uint32_t, kBatch * 3> words{};
    for (;;) {
        const int n = vasul_web_take_input(words.data(), kBatch);
        for (int i = 0; i < n; ++i) {
            const size_t at = static_cast<size_t>(i) * 3;
            if (words[at] == kWmDropFiles) {
                dropped_ = drop_folder_files(words[at + 2]);
                queue_.push({kWmDropFiles, static_cast<uint32_t>(dropped_.size()), 0});
                continue;
            }
            queue_.push({words[at], words[at + 1], words[at + 2]});
        }
        if (n < kBatch) return;
    }
}

void WebPlatform::destroy_window() {
    closed_ = true;
    vasul_web_close();
}

FlipResult WebPlatform::flip() {
    if (closed_) return FlipResult::Ok;  // the last picture stays on the page
    if (vasul_web_display_lost() != 0) return FlipResult::Lost;
    to_rgba(back_buffer_.pixels(), rgba_);
    vasul_web_present(rgba_.data());
    return FlipResult::Ok;
}

}  // namespace

Result<std::unique_ptr<Platform>> make_web_platform() {
    if (vasul_web_open() == 0)
        return Error{ErrorKind::Missing, "the page has no canvas for the game (Module.canvas)"};
    return std::unique_ptr<Platform>(std::make_unique<WebPlatform>());
}

}  // namespace platform::web
