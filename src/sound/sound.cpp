#include "sound/sound.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/game.h"
#include "platform/data_source.h"
#include "platform/log.h"

namespace sound {

namespace {

platform::AudioDevice& audio(Game& game) {
    return game.platform.audio();
}

int clamp_step(int step) {
    if (step >= 10) return 9;
    if (step < 0) return 0;
    return step;
}

int step_volume(int step) {
    return kVolumeSteps[static_cast<size_t>(clamp_step(step))];
}

// A file that can't be read shuts the device down for good; a file the device can't decode
// only leaves its channel silent. Each file is named once, because the effect is read again
// for every piece that snaps home.
void warn_once(Game& game, const char* path, const std::string& what) {
    if (game.sound.warned_files.insert(path).second) {
        platform::warn(std::string(path) + " " + what);
    }
}

void silence_unreadable(Game& game, const char* path, const std::string& reason) {
    audio(game).close();
    const bool was_open = std::exchange(game.sound.device_open, false);
    warn_once(game, path, reason + (was_open ? "; the game runs silent from here" : ""));
}

}  // namespace

void sound_init(Game& game) {
    game.sound.device_open = audio(game).init();
    if (!game.sound.device_open) platform::warn("no audio device; the game runs silent");
}

int sound_open_stream(Game& game, const char* path) {
    platform::FileBytes read = game.data->read(path, kMaxSoundFileBytes);
    if (!read) {
        silence_unreadable(game, path, read.reason);
        return 0;
    }
    auto bytes = std::make_shared<const std::vector<uint8_t>>(std::move(read.bytes));
    const int stream = audio(game).open_stream(std::move(bytes));
    if (stream == 0 && game.sound.device_open) {
        warn_once(game, path, "is no sound the mixer can play; its channel stays silent");
    }
    return stream;
}

void sound_play_channel(Game& game, int channel) {
    const SoundState& s = game.sound;
    const auto c = static_cast<size_t>(channel);
    audio(game).play(channel, s.stream[c]);
    // The device takes the volume for what the channel plays now, so it is set after each start.
    audio(game).set_volume(channel, step_volume(s.level[c]));
}

void sound_apply_channel(Game& game, int channel) {
    if (game.sound.enabled[static_cast<size_t>(channel)]) {
        sound_play_channel(game, channel);
    } else {
        audio(game).stop(channel);
    }
}

void sound_open_and_apply(Game& game, int channel, const char* path) {
    game.sound.stream[static_cast<size_t>(channel)] = sound_open_stream(game, path);
    sound_apply_channel(game, channel);
}

void sound_step_level(Game& game, int channel, int delta) {
    int& level = game.sound.level[static_cast<size_t>(channel)];
    level = clamp_step(level + delta);
    audio(game).set_volume(channel, step_volume(level));
}

void sound_stop_all(Game& game) {
    audio(game).stop(platform::AudioDevice::kAllChannels);
}

void sound_stop_channel(Game& game, int channel) {
    audio(game).stop(channel);
}

void music_loop_check(Game& game) {
    if (!audio(game).is_playing(kMusicChannel) && game.sound.enabled[kMusicChannel]) {
        sound_play_channel(game, kMusicChannel);
    }
}

void music_test_play(Game& game, const char* path) {
    const int stream = sound_open_stream(game, path);
    game.sound.stream[kMusicChannel] = stream;
    audio(game).play(kMusicChannel, stream);
    audio(game).set_volume(kMusicChannel, step_volume(game.music_test.volume));
}

void music_test_step_volume(Game& game, int delta) {
    int& volume = game.music_test.volume;
    volume = clamp_step(volume + delta);
    audio(game).set_volume(kMusicChannel, step_volume(volume));
}

void music_test_loop_check(Game& game) {
    if (audio(game).is_playing(kMusicChannel)) return;
    if (game.music_test.loop) {
        // Restarts at the music step of the options, not the music test's own volume: the
        // game has always done so.
        sound_play_channel(game, kMusicChannel);
    } else {
        game.music_test.playing = false;
    }
}

}  // namespace sound
