#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// An audio device without sound: it keeps every call in a log and plays each stream for a
// length of time that a test can set, against the platform's clock.
class HeadlessAudio final : public AudioDevice {
  public:
    explicit HeadlessAudio(std::function<uint32_t()> clock) : clock_(std::move(clock)) {}

    bool init() override;
    int open_stream(SoundBytes bytes) override;
    void play(int channel, int stream) override;
    void set_volume(int channel, int volume) override;
    bool is_playing(int channel) override;
    void stop(int channel) override;
    void close() override;

    // How long a stream plays once started; streams opened later get this length. The default
    // is endless.
    void set_stream_length_ms(uint32_t ms) { default_length_ = ms; }
    void set_stream_length_ms(int stream, uint32_t ms) { lengths_[stream] = ms; }
    // Makes init() fail, as on a machine without a sound device.
    void set_device_missing(bool missing) { missing_ = missing; }

    const std::vector<std::string>& log() const { return log_; }
    void clear_log() { log_.clear(); }
    bool closed() const { return closed_; }
    int volume(int channel) const;
    int playing_stream(int channel) const;
    size_t stream_size(int stream) const;

  private:
    struct ChannelState {
        int stream = 0;
        uint32_t started = 0;
        int volume = 255;
    };
    bool active() const { return initialised_ && !closed_; }

    std::function<uint32_t()> clock_;
    std::vector<std::string> log_;
    std::map<int, ChannelState> channels_;
    std::map<int, uint32_t> lengths_;
    std::map<int, size_t> sizes_;
    uint32_t default_length_ = UINT32_MAX;
    int next_stream_ = 1;
    bool initialised_ = false;
    bool closed_ = false;
    bool missing_ = false;
};

}  // namespace platform
