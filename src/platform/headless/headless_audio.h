#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// An audio device without sound: it keeps the newest calls in a log and plays each stream for
// a length of time that a test can set, against the platform's clock.
class HeadlessAudio final : public AudioDevice {
  public:
    // The log keeps at least this many of the newest calls and at most twice as many.
    static constexpr size_t kLogKept = 1024;
    // Besides what the channels play, the device remembers this many of the newest streams.
    static constexpr size_t kStreamsKept = 64;

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

    // The newest calls, oldest first; a long run drops the oldest ones.
    const std::vector<std::string>& log() const { return log_; }
    void clear_log() { log_.clear(); }
    bool closed() const { return closed_; }
    int volume(int channel) const;
    int playing_stream(int channel) const;
    // The size of a stream's file, or 0 for a stream the device no longer remembers.
    size_t stream_size(int stream) const;
    size_t streams_held() const { return sizes_.size(); }

  private:
    struct ChannelState {
        int stream = 0;
        uint32_t started = 0;
        int volume = 255;
    };
    bool active() const { return initialised_ && !closed_; }
    void note(std::string call);
    void forget_old_streams();
    bool on_a_channel(int stream) const;

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
