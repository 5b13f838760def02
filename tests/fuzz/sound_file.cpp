// A sound file read through the sound layer onto the headless device: as a music track that
// plays, ends and is looped, as the music test's track, and as the effect. A file that can be
// read must reach the device whole and must never silence the game.
//
// Input: the file's bytes; the last byte chooses which of the game's sound files they are.
#include <array>
#include <span>

#include "app/game.h"
#include "fuzz/fuzz_support.h"
#include "platform/headless/headless_platform.h"
#include "sound/sound.h"

namespace {

const char* chosen_file(uint8_t choice) {
    const size_t n = choice % (sound::kMusicFiles.size() + 1);
    return n < sound::kMusicFiles.size() ? sound::kMusicFiles[n] : sound::kEffectFile;
}

void check_stream(platform::HeadlessPlatform& platform, int stream, size_t size) {
    FUZZ_CHECK(!platform.headless_audio().closed());
    if (stream != 0) FUZZ_CHECK(platform.headless_audio().stream_size(stream) == size);
}

void play_music(Game& game, platform::HeadlessPlatform& platform, const char* file, size_t size) {
    sound::sound_open_and_apply(game.mixer(), sound::kMusicChannel, file);
    check_stream(platform, game.sound.stream[sound::kMusicChannel], size);
    platform.set_ticks(1000);  // the track has ended: the loop check starts it again
    sound::music_loop_check(game.mixer());
    game.music_test.loop = true;
    sound::music_test_play(game.mixer(), game.music_test, file);
    check_stream(platform, game.sound.stream[sound::kMusicChannel], size);
    platform.set_ticks(2000);
    sound::music_test_loop_check(game.mixer(), game.music_test);
    sound::music_test_step_volume(game.mixer(), game.music_test, 1);
    sound::sound_stop_all(game.mixer());
}

void play_effect(Game& game, platform::HeadlessPlatform& platform, const char* file, size_t size) {
    // Every snap reads the effect anew.
    for (int snap = 0; snap < 2; ++snap) {
        sound::sound_open_and_apply(game.mixer(), sound::kEffectChannel, file);
        check_stream(platform, game.sound.stream[sound::kEffectChannel], size);
    }
    sound::sound_stop_channel(game.mixer(), sound::kEffectChannel);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::span<const uint8_t> bytes(data, size - 1);
    const char* file = chosen_file(data[size - 1]);
    const auto dir = fuzz::scratch_dir();
    fuzz::write_file(dir / file, bytes);

    // One platform for the whole run: building its screen costs more than the rest.
    static platform::HeadlessPlatform platform;
    platform.headless_audio().clear_log();
    platform.headless_audio().set_stream_length_ms(500);
    platform.set_ticks(0);
    Game game(platform, dir);
    game.sound.enabled = {true, true};
    game.sound.level = {9, 9};
    sound::sound_init(game.mixer());
    if (file == sound::kEffectFile) {
        play_effect(game, platform, file, bytes.size());
    } else {
        play_music(game, platform, file, bytes.size());
    }
    return 0;
}
