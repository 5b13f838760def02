#pragma once
#include <map>

#include "platform/platform.h"
#include "platform/sound_streams.h"

namespace platform::web {

// The game's two channels on WebAudio: music (channel 0) and the effect (channel 1), each a
// gain for the game's volume. The browser decodes a file a while after it is opened; a channel
// told to play it meanwhile counts as playing, so the game does not start it again and again.
class WebAudio final : public AudioDevice {
  public:
    bool init() override;
    int open_stream(SoundBytes bytes) override;
    void play(int channel, int stream) override;
    void set_volume(int channel, int volume) override;
    bool is_playing(int channel) override;
    void stop(int channel) override;
    void close() override;

  private:
    bool active() const { return open_ && !closed_; }
    void forget_unused();

    bool open_ = false;
    bool closed_ = false;
    StreamIds ids_;
    std::map<int, SoundKind> streams_;
};

}  // namespace platform::web
