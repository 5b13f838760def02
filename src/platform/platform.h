#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "gfx/surface.h"
#include "platform/messages.h"

namespace platform {

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;

// A whole sound file held in memory; the device may keep it as long as it likes.
using SoundBytes = std::shared_ptr<const std::vector<uint8_t>>;

// The eight calls of the sound library that the game makes, with the same meanings.
class AudioDevice {
  public:
    static constexpr int kAllChannels = -3;
    virtual ~AudioDevice() = default;
    // Sets the library up; false when no device could be opened.
    virtual bool init() = 0;
    // Opens a stream on an in-memory file; 0 is the null stream.
    virtual int open_stream(SoundBytes bytes) = 0;
    // Starts the stream from its beginning on the channel, replacing what the channel played.
    virtual void play(int channel, int stream) = 0;
    // Volume 0..255 for what the channel plays now.
    virtual void set_volume(int channel, int volume) = 0;
    virtual bool is_playing(int channel) = 0;
    // Stops one channel, or all of them for kAllChannels.
    virtual void stop(int channel) = 0;
    // Shuts the library down; later calls do nothing.
    virtual void close() = 0;
};

enum class FlipResult { Ok, Lost };

// The narrow interface between the game and the machine it runs on.
class Platform {
  public:
    virtual ~Platform() = default;

    // Called by the main loop at the start of every pass, before the message is taken.
    virtual void begin_pass(uint64_t pass) = 0;
    // Takes at most one message without blocking.
    virtual bool peek_message(Message& out) = 0;
    virtual void post_message(const Message& message) = 0;
    // Takes the window away; the shell delivers kWmDestroy itself.
    virtual void destroy_window() = 0;

    virtual gfx::Surface& back_buffer() = 0;
    virtual FlipResult flip() = 0;
    virtual void restore() = 0;

    virtual void hide_cursor() = 0;
    // Milliseconds, 32-bit and wrapping.
    virtual uint32_t ticks() = 0;
    // Makes the clock read ms now and go on from there (replays set it from their tick lines).
    virtual void set_ticks(uint32_t ms) = 0;
    virtual AudioDevice& audio() = 0;
    // The files of the last drop on the window, handed over once after its kWmDropFiles; a
    // backend that takes no drops has none.
    virtual std::vector<std::filesystem::path> take_dropped_files() { return {}; }
};

}  // namespace platform
