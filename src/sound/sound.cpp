#include "sound/sound.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/game.h"
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

// The whole file, or nothing when it can't be opened or read.
std::shared_ptr<std::vector<uint8_t>> read_whole_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    auto bytes = std::make_shared<std::vector<uint8_t>>(std::istreambuf_iterator<char>(in),
                                                        std::istreambuf_iterator<char>());
    if (in.bad()) return nullptr;
    return bytes;
}

// A missing file shuts the device down for good; each missing file is named once, because the
// effect is read again for every piece that snaps home.
void silence_for_missing(Game& game, const char* path) {
    audio(game).close();
    SoundState& s = game.sound;
    if (s.missing_files.insert(path).second) {
        platform::warn(std::string("cannot read ") + path + "; the game runs silent from here");
    }
}

}  // namespace

void sound_init(Game& game) {
    if (!audio(game).init()) platform::warn("no audio device; the game runs silent");
}

int sound_open_stream(Game& game, const char* path) {
    auto bytes = read_whole_file(game.file(path));
    if (!bytes) {
        silence_for_missing(game, path);
        return 0;
    }
    return audio(game).open_stream(std::move(bytes));
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
