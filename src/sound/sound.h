#pragma once
#include <array>
#include <cstdint>
#include <set>
#include <string>

namespace platform {
class AudioDevice;
class DataSource;
}  // namespace platform

namespace sound {

inline constexpr int kMusicChannel = 0;
inline constexpr int kEffectChannel = 1;

// Channel volumes 0..255 by volume step; step 0 is silence and 9 is full.
inline constexpr std::array<int, 10> kVolumeSteps = {0, 15, 45, 75, 105, 135, 165, 195, 225, 255};

// The title track, then the five stage tracks.
inline constexpr std::array<const char*, 6> kMusicFiles = {
    "ogg/title1-2a.ogg",   "ogg/stsound1-2a.ogg", "ogg/stsound2-2a.ogg",
    "ogg/stsound3-2a.ogg", "ogg/stsound4-2a.ogg", "ogg/stsound5-4a.ogg",
};
inline constexpr const char* kEffectFile = "wave/in.wav";
// A sound file is read whole into memory; anything longer is refused as unreadable.
inline constexpr uint64_t kMaxSoundFileBytes = 64u << 20;

struct SoundState {
    std::array<bool, 2> enabled{};
    std::array<int, 2> level{};
    std::array<int, 2> stream{};  // 0 is the null stream
    // False before init, without a device, and once an unreadable file has shut it down.
    bool device_open = false;
    // Sound files warned about so far (unreadable or undecodable), each named once.
    std::set<std::string> warned_files;
};

struct MusicTestState {
    int track = 0;
    bool playing = false;
    bool loop = false;
    int volume = 0;
};

// What the sound layer plays with: the platform's audio device, the pack's files and the two
// channels' state. The game hands one over for each call (Game::mixer).
struct Mixer {
    platform::AudioDevice& device;
    const platform::DataSource& data;
    SoundState& state;
};

void sound_init(const Mixer& m);
// Reads the whole file and opens a stream on it. 0 when it can't be read, which also shuts
// the sound device down for the rest of the run, or when the device can't decode it.
int sound_open_stream(const Mixer& m, const char* path);
void sound_play_channel(const Mixer& m, int channel);
void sound_apply_channel(const Mixer& m, int channel);
void sound_open_and_apply(const Mixer& m, int channel, const char* path);
void sound_step_level(const Mixer& m, int channel, int delta);
void sound_stop_all(const Mixer& m);
void sound_stop_channel(const Mixer& m, int channel);
// Restarts the music on channel 0 when it has ended and music is on.
void music_loop_check(const Mixer& m);
void music_test_play(const Mixer& m, const MusicTestState& test, const char* path);
void music_test_step_volume(const Mixer& m, MusicTestState& test, int delta);
void music_test_loop_check(const Mixer& m, MusicTestState& test);

}  // namespace sound
