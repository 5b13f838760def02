#include "sound/sound.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/data_source.h"
#include "platform/log.h"
#include "platform/platform.h"

namespace sound {

namespace {

// The steps of the volume table; vasul.ini's levels take their range from it too.
int clamp_step(int step) {
    return std::clamp(step, 0, static_cast<int>(kVolumeSteps.size()) - 1);
}

int step_volume(int step) {
    return kVolumeSteps[static_cast<size_t>(clamp_step(step))];
}

// A file that can't be read shuts the device down for good; a file the device can't decode
// only leaves its channel silent. Each file is named once, because the effect is read again
// for every piece that snaps home.
void warn_once(const Mixer& m, const char* path, const std::string& what) {
    platform::warn_once(m.state.warned_files, path, std::string(path) + " " + what);
}

void silence_unreadable(const Mixer& m, const char* path, const std::string& reason) {
    m.device.close();
    const bool was_open = std::exchange(m.state.device_open, false);
    warn_once(m, path, reason + (was_open ? "; the game runs silent from here" : ""));
}

}  // namespace

void sound_init(const Mixer& m) {
    m.state.device_open = m.device.init();
    if (!m.state.device_open) platform::warn("no audio device; the game runs silent");
}

int sound_open_stream(const Mixer& m, const char* path) {
    platform::FileBytes read = m.data.read(path, kMaxSoundFileBytes);
    if (!read) {
        silence_unreadable(m, path, read.error().reason);
        return 0;
    }
    auto bytes = std::make_shared<const std::vector<uint8_t>>(std::move(*read));
    const int stream = m.device.open_stream(std::move(bytes));
    if (stream == 0 && m.state.device_open) {
        warn_once(m, path, "is no sound the mixer can play; its channel stays silent");
    }
    return stream;
}

void sound_play_channel(const Mixer& m, int channel) {
    const SoundState& s = m.state;
    const auto c = static_cast<size_t>(channel);
    m.device.play(channel, s.stream[c]);
    // The device takes the volume for what the channel plays now, so it is set after each start.
    m.device.set_volume(channel, step_volume(s.level[c]));
}

void sound_apply_channel(const Mixer& m, int channel) {
    if (m.state.enabled[static_cast<size_t>(channel)]) {
        sound_play_channel(m, channel);
    } else {
        m.device.stop(channel);
    }
}

void sound_open_and_apply(const Mixer& m, int channel, const char* path) {
    m.state.stream[static_cast<size_t>(channel)] = sound_open_stream(m, path);
    sound_apply_channel(m, channel);
}

void sound_step_level(const Mixer& m, int channel, int delta) {
    int& level = m.state.level[static_cast<size_t>(channel)];
    level = clamp_step(level + delta);
    m.device.set_volume(channel, step_volume(level));
}

void sound_stop_all(const Mixer& m) {
    m.device.stop(platform::AudioDevice::kAllChannels);
}

void sound_stop_channel(const Mixer& m, int channel) {
    m.device.stop(channel);
}

void music_loop_check(const Mixer& m) {
    if (!m.device.is_playing(kMusicChannel) && m.state.enabled[kMusicChannel]) {
        sound_play_channel(m, kMusicChannel);
    }
}

void music_test_play(const Mixer& m, const MusicTestState& test, const char* path) {
    const int stream = sound_open_stream(m, path);
    m.state.stream[kMusicChannel] = stream;
    m.device.play(kMusicChannel, stream);
    m.device.set_volume(kMusicChannel, step_volume(test.volume));
}

void music_test_step_volume(const Mixer& m, MusicTestState& test, int delta) {
    int& volume = test.volume;
    volume = clamp_step(volume + delta);
    m.device.set_volume(kMusicChannel, step_volume(volume));
}

void music_test_loop_check(const Mixer& m, MusicTestState& test) {
    if (m.device.is_playing(kMusicChannel)) return;
    if (test.loop) {
        // Restarts at the music step of the options, not the music test's own volume: the
        // game has always done so.
        sound_play_channel(m, kMusicChannel);
    } else {
        test.playing = false;
    }
}

}  // namespace sound
