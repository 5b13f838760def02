#pragma once
#include <SDL_mixer.h>

#include <map>

#include "platform/platform.h"
#include "platform/sound_streams.h"

namespace platform::sdl {

// The sound device over SDL2_mixer: Ogg files become music for channel 0, streamed straight
// from the bytes in memory; WAV files become chunks for mixer channel 1.
class SdlAudio final : public AudioDevice {
  public:
    SdlAudio() = default;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;
    ~SdlAudio() override { close(); }

    bool init() override;
    int open_stream(SoundBytes bytes) override;
    void play(int channel, int stream) override;
    void set_volume(int channel, int volume) override;
    bool is_playing(int channel) override;
    void stop(int channel) override;
    void close() override;

    // How many streams the device holds now (replaced ones are freed).
    size_t streams_held() const { return streams_.size(); }

  private:
    struct Stream {
        SoundBytes bytes;  // music decodes from these while it plays
        Mix_Music* music = nullptr;
        Mix_Chunk* chunk = nullptr;
    };
    bool active() const { return open_ && !closed_; }
    // Frees the streams that ids_ no longer needs.
    void forget_unused();
    void free_stream(Stream& s);

    std::map<int, Stream> streams_;
    StreamIds ids_;
    bool open_ = false;
    bool closed_ = false;
};

}  // namespace platform::sdl
