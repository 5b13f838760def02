#pragma once
// windows.h goes first: the headers after it build on it.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
// clang-format on

#include <array>
#include <map>
#include <memory>

#include "platform/platform.h"
#include "platform/sound_streams.h"
#include "platform/win32/music_stream.h"

namespace platform::win32 {

// A WAV file's samples, ready for a DirectSound buffer.
struct Wave {
    WAVEFORMATEX format{};
    std::vector<uint8_t> samples;
};
// The PCM of a RIFF WAVE file (8 or 16 bits, any rate and channel count); nothing for anything
// else.
std::unique_ptr<Wave> parse_wave(const std::vector<uint8_t>& bytes);

// DirectSound attenuation, in hundredths of a decibel, for the game's volume 0..255.
LONG attenuation(int volume);

// The game's two channels over DirectSound: channel 0 streams Ogg music through stb_vorbis,
// fed by a thread of its own so that a window drag or a lost display never starves it;
// channel 1 plays the WAV effect from a buffer of its own.
class DsoundAudio final : public AudioDevice {
  public:
    explicit DsoundAudio(HWND window) : window_(window) {}
    DsoundAudio(const DsoundAudio&) = delete;
    DsoundAudio& operator=(const DsoundAudio&) = delete;
    ~DsoundAudio() override { close(); }

    bool init() override;
    int open_stream(SoundBytes bytes) override;
    void play(int channel, int stream) override;
    void set_volume(int channel, int volume) override;
    bool is_playing(int channel) override;
    void stop(int channel) override;
    void close() override;

  private:
    struct Stream {
        SoundBytes ogg;              // music decodes from these while it plays
        std::shared_ptr<Wave> wave;  // or the effect's samples
    };
    bool active() const { return device_ != nullptr && !closed_; }
    void play_effect(const Wave& wave);
    void stop_effect();
    void forget_unused();

    HWND window_;
    IDirectSound8* device_ = nullptr;
    IDirectSoundBuffer* effect_ = nullptr;
    std::unique_ptr<MusicStream> music_;
    std::map<int, Stream> streams_;
    StreamIds ids_;
    std::array<LONG, 2> volume_{DSBVOLUME_MAX, DSBVOLUME_MAX};
    bool closed_ = false;
};

}  // namespace platform::win32
