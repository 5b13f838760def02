#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/platform.h"
#include "platform/replay.h"

namespace platform {

struct HarnessOptions {
    const Replay* replay = nullptr;     // messages and clock settings to post
    std::filesystem::path record_file;  // empty: no recording
    uint32_t seed = 0;                  // written at the head of a recording
    uint32_t tick_ms = 16;              // the replay clock's step, for recordings
    std::filesystem::path dump_dir;     // empty: no frame dumps
    uint64_t dump_every = 1;
};

// Wraps either backend with what the command line adds on top: posting a replay's messages,
// recording every message taken and every clock reading a replay could not predict, and
// writing every presented frame as a BMP file.
class Harness final : public Platform {
  public:
    Harness(Platform& inner, HarnessOptions options);

    bool recording_ok() const { return !record_ || record_.good(); }

    void begin_pass(uint64_t pass) override;
    bool peek_message(Message& out) override;
    void post_message(const Message& message) override { inner_.post_message(message); }
    void destroy_window() override { inner_.destroy_window(); }
    gfx::Surface& back_buffer() override { return inner_.back_buffer(); }
    FlipResult flip() override;
    void restore() override { inner_.restore(); }
    void hide_cursor() override { inner_.hide_cursor(); }
    uint32_t ticks() override;
    void set_ticks(uint32_t ms) override;
    AudioDevice& audio() override { return inner_.audio(); }
    std::vector<std::filesystem::path> take_dropped_files() override {
        return inner_.take_dropped_files();
    }

  private:
    uint32_t predicted_ticks() const;

    Platform& inner_;
    HarnessOptions options_;
    std::ofstream record_;
    size_t next_event_ = 0;
    uint64_t pass_ = 0;
    bool begun_ = false;  // the first pass has begun
    // The replay clock model: the value set at a pass, advancing tick_ms per pass after it.
    uint64_t model_pass_ = 0;
    uint32_t model_base_ = 0;
};

}  // namespace platform
