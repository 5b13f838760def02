#include "sound/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/game.h"
#include "platform/headless/headless_platform.h"
#include "support/fixture_pack.h"
#include "support/named_pipe.h"

namespace {

using sound::kEffectChannel;
using sound::kMusicChannel;

// A game over a folder holding the six tracks and the effect, on the headless device.
class SoundTest : public ::testing::Test {
  protected:
    SoundTest() { fixture::write_sounds(dir); }
    ~SoundTest() override { std::filesystem::remove_all(dir); }

    void start(bool device = true) {
        audio.set_device_missing(!device);
        sound::sound_init(g.mixer());
        audio.clear_log();
    }
    int count(const std::string& entry) const {
        return static_cast<int>(std::count(audio.log().begin(), audio.log().end(), entry));
    }
    int opens() const {
        return static_cast<int>(
            std::count_if(audio.log().begin(), audio.log().end(),
                          [](const std::string& e) { return e.rfind("open", 0) == 0; }));
    }
    std::string last() const { return audio.log().empty() ? "" : audio.log().back(); }

    std::filesystem::path dir = fixture::make_temp_dir("sound");
    platform::HeadlessPlatform p;
    Game g{p, dir};
    platform::HeadlessAudio& audio = p.headless_audio();
};

TEST_F(SoundTest, StepsClampAtBothEndsAndSetTheVolumeAtOnce) {
    struct Case {
        int start, delta, level, volume;
    };
    const Case cases[] = {
        {9, +1, 9, 255}, {0, -1, 0, 0},   {4, +1, 5, 135},
        {1, -1, 0, 0},   {12, 0, 9, 255},  // an out-of-range value read from the settings file
        {-3, 0, 0, 0},
    };
    start();
    for (const Case& c : cases) {
        for (int channel : {kMusicChannel, kEffectChannel}) {
            g.sound.level[channel] = c.start;
            sound::sound_step_level(g.mixer(), channel, c.delta);
            EXPECT_EQ(g.sound.level[channel], c.level) << c.start << " " << c.delta;
            EXPECT_EQ(last(), "volume " + std::to_string(channel) + " " + std::to_string(c.volume));
        }
        g.music_test.volume = c.start;
        sound::music_test_step_volume(g.mixer(), g.music_test, c.delta);
        EXPECT_EQ(g.music_test.volume, c.level);
        EXPECT_EQ(last(), "volume 0 " + std::to_string(c.volume));
    }
}

TEST_F(SoundTest, OpenReadsTheWholeFileAndTheSwitchDecidesPlayOrStop) {
    start();
    g.sound.level[kMusicChannel] = 3;
    g.sound.enabled[kMusicChannel] = true;
    sound::sound_open_and_apply(g.mixer(), kMusicChannel, sound::kMusicFiles[2]);
    const int stream = g.sound.stream[kMusicChannel];
    EXPECT_EQ(audio.stream_size(stream), 102u);
    EXPECT_EQ(audio.playing_stream(kMusicChannel), stream);
    EXPECT_EQ(audio.volume(kMusicChannel), 75);

    // Switched off, the track is still opened, but the channel is stopped instead.
    g.sound.enabled[kMusicChannel] = false;
    audio.clear_log();
    sound::sound_open_and_apply(g.mixer(), kMusicChannel, sound::kMusicFiles[3]);
    EXPECT_NE(g.sound.stream[kMusicChannel], stream);
    EXPECT_NE(g.sound.stream[kMusicChannel], 0);
    EXPECT_EQ(count("play 0 " + std::to_string(g.sound.stream[kMusicChannel])), 0);
    EXPECT_EQ(last(), "stop 0");
    EXPECT_FALSE(audio.is_playing(kMusicChannel));
}

TEST_F(SoundTest, EffectWithItsSwitchOffStopsChannelOneAndLeavesTheMusic) {
    start();
    g.sound.enabled = {true, true};
    sound::sound_open_and_apply(g.mixer(), kMusicChannel, sound::kMusicFiles[0]);
    sound::sound_open_and_apply(g.mixer(), kEffectChannel, sound::kEffectFile);
    ASSERT_TRUE(audio.is_playing(kEffectChannel));

    g.sound.enabled[kEffectChannel] = false;
    sound::sound_open_and_apply(g.mixer(), kEffectChannel, sound::kEffectFile);
    EXPECT_FALSE(audio.is_playing(kEffectChannel));
    EXPECT_TRUE(audio.is_playing(kMusicChannel));
    EXPECT_EQ(last(), "stop 1");
}

TEST_F(SoundTest, LoopCheckRestartsAnEndedTrackInTheSameCallOnlyWhenMusicIsOn) {
    for (bool music_on : {true, false}) {
        SCOPED_TRACE(music_on);
        start();
        p.set_ticks(0);
        audio.set_stream_length_ms(1000);
        g.sound.enabled[kMusicChannel] = true;
        g.sound.level[kMusicChannel] = 6;
        sound::sound_open_and_apply(g.mixer(), kMusicChannel, sound::kMusicFiles[1]);
        const int stream = g.sound.stream[kMusicChannel];
        g.sound.enabled[kMusicChannel] = music_on;

        p.set_ticks(999);
        audio.clear_log();
        sound::music_loop_check(g.mixer());
        EXPECT_TRUE(audio.log().empty());  // still playing: nothing to do

        p.set_ticks(1000);
        sound::music_loop_check(g.mixer());
        EXPECT_EQ(audio.is_playing(kMusicChannel), music_on);
        EXPECT_EQ(count("play 0 " + std::to_string(stream)), music_on ? 1 : 0);
        EXPECT_EQ(opens(), 0);  // the track in memory starts again, no file is read
        if (music_on) {
            EXPECT_EQ(audio.volume(kMusicChannel), 165);
        }
    }
}

TEST_F(SoundTest, MusicTestPlaysAtItsOwnVolumeAndLoopsAtTheMusicStep) {
    for (bool loop : {true, false}) {
        SCOPED_TRACE(loop);
        start();
        p.set_ticks(0);
        audio.set_stream_length_ms(500);
        g.sound.enabled[kMusicChannel] = false;  // the music test ignores the music switch
        g.sound.level[kMusicChannel] = 7;
        g.music_test = {4, true, loop, 2};
        sound::music_test_play(g.mixer(), g.music_test, sound::kMusicFiles[4]);
        const int stream = g.sound.stream[kMusicChannel];
        EXPECT_EQ(audio.playing_stream(kMusicChannel), stream);
        EXPECT_EQ(audio.volume(kMusicChannel), 45);

        p.set_ticks(499);
        sound::music_test_loop_check(g.mixer(), g.music_test);
        EXPECT_TRUE(g.music_test.playing);

        p.set_ticks(500);
        sound::music_test_loop_check(g.mixer(), g.music_test);
        EXPECT_EQ(g.music_test.playing, loop);
        EXPECT_EQ(audio.is_playing(kMusicChannel), loop);
        if (loop) {
            EXPECT_EQ(audio.playing_stream(kMusicChannel), stream);
            EXPECT_EQ(audio.volume(kMusicChannel), 195);  // level[0], not the test's own step
        }
    }
}

TEST_F(SoundTest, ChannelVolumesAreIndependent) {
    start();
    g.sound.enabled = {true, true};
    g.sound.level = {2, 8};
    sound::sound_open_and_apply(g.mixer(), kMusicChannel, sound::kMusicFiles[0]);
    sound::sound_open_and_apply(g.mixer(), kEffectChannel, sound::kEffectFile);
    EXPECT_EQ(audio.volume(kMusicChannel), 45);
    EXPECT_EQ(audio.volume(kEffectChannel), 225);

    sound::sound_step_level(g.mixer(), kEffectChannel, -1);
    EXPECT_EQ(audio.volume(kMusicChannel), 45);
    EXPECT_EQ(audio.volume(kEffectChannel), 195);
    EXPECT_EQ(g.sound.level[kMusicChannel], 2);

    sound::music_test_step_volume(g.mixer(), g.music_test, +1);
    EXPECT_EQ(audio.volume(kEffectChannel), 195);
    EXPECT_EQ(g.sound.level[kMusicChannel], 2);
}

TEST_F(SoundTest, StopOneChannelOrAll) {
    start();
    g.sound.enabled = {true, true};
    sound::sound_open_and_apply(g.mixer(), kMusicChannel, sound::kMusicFiles[0]);
    sound::sound_open_and_apply(g.mixer(), kEffectChannel, sound::kEffectFile);
    sound::sound_stop_channel(g.mixer(), kEffectChannel);
    EXPECT_TRUE(audio.is_playing(kMusicChannel));
    EXPECT_FALSE(audio.is_playing(kEffectChannel));
    sound::sound_play_channel(g.mixer(), kEffectChannel);
    sound::sound_stop_all(g.mixer());
    EXPECT_EQ(last(), "stop -3");
    EXPECT_FALSE(audio.is_playing(kMusicChannel));
    EXPECT_FALSE(audio.is_playing(kEffectChannel));
}

TEST_F(SoundTest, AMissingFileSilencesTheRestOfTheRunWithOneWarningPerFile) {
    start();
    std::filesystem::remove(dir / sound::kEffectFile);
    g.sound.enabled = {true, true};
    sound::sound_open_and_apply(g.mixer(), kMusicChannel, sound::kMusicFiles[1]);
    ASSERT_TRUE(audio.is_playing(kMusicChannel));

    testing::internal::CaptureStderr();
    sound::sound_open_and_apply(g.mixer(), kEffectChannel, sound::kEffectFile);
    sound::sound_open_and_apply(g.mixer(), kEffectChannel, sound::kEffectFile);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("wave/in.wav"), std::string::npos) << err;

    EXPECT_TRUE(audio.closed());
    EXPECT_EQ(g.sound.stream[kEffectChannel], 0);
    EXPECT_FALSE(audio.is_playing(kMusicChannel));  // the music goes too
    sound::sound_open_and_apply(g.mixer(), kMusicChannel, sound::kMusicFiles[0]);
    sound::music_loop_check(g.mixer());
    EXPECT_EQ(g.sound.stream[kMusicChannel], 0);
    EXPECT_FALSE(audio.is_playing(kMusicChannel));
}

TEST_F(SoundTest, NoDeviceWarnsOnceAndRunsSilent) {
    testing::internal::CaptureStderr();
    start(false);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "vasul: warning: no audio device; the game runs silent\n");
    g.sound.enabled[kMusicChannel] = true;
    sound::sound_open_and_apply(g.mixer(), kMusicChannel, sound::kMusicFiles[0]);
    sound::music_loop_check(g.mixer());
    EXPECT_FALSE(audio.is_playing(kMusicChannel));
}

}  // namespace

namespace {

// What a data folder may hold in place of a sound file.
enum class Broken { Directory, NamedPipe, TooLarge };

void break_file(const std::filesystem::path& file, Broken how) {
    std::filesystem::remove(file);
    switch (how) {
        case Broken::Directory:
            std::filesystem::create_directories(file / "inside");
            break;
        case Broken::NamedPipe:
            fixture::make_named_pipe(file);
            break;
        case Broken::TooLarge:  // sparse, so the test costs no disk
            std::ofstream(file, std::ios::binary).put('R');
            std::filesystem::resize_file(file, sound::kMaxSoundFileBytes + 1);
            break;
    }
}

int lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// A sound file that cannot be read is a missing one: the device shuts down, the file is named
// once however often it is read, and nothing escapes as an exception.
TEST_F(SoundTest, AnUnreadableFileIsTreatedAsAMissingOne) {
    for (Broken how : {Broken::Directory, Broken::NamedPipe, Broken::TooLarge}) {
        SCOPED_TRACE(static_cast<int>(how));
        platform::HeadlessPlatform fresh;
        Game game{fresh, dir};
        std::filesystem::remove_all(dir / sound::kEffectFile);
        fixture::write_sounds(dir);
        break_file(dir / sound::kEffectFile, how);
        sound::sound_init(game.mixer());
        game.sound.enabled = {true, true};
        sound::sound_open_and_apply(game.mixer(), kMusicChannel, sound::kMusicFiles[0]);
        ASSERT_TRUE(fresh.headless_audio().is_playing(kMusicChannel));

        testing::internal::CaptureStderr();
        fixture::without_waiting_on(dir / sound::kEffectFile, [&] {
            for (int snap = 0; snap < 3; ++snap) {
                sound::sound_open_and_apply(game.mixer(), kEffectChannel, sound::kEffectFile);
            }
        });
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(lines(err), 1) << err;
        EXPECT_NE(err.find("wave/in.wav"), std::string::npos) << err;
        EXPECT_TRUE(fresh.headless_audio().closed());
        EXPECT_EQ(game.sound.stream[kEffectChannel], 0);
    }
}

// A file that reads but does not decode leaves only its own channel silent.
TEST_F(SoundTest, AFileTheDeviceCannotDecodeIsNamedOnceAndSilencesOnlyItsChannel) {
    for (const std::string bytes : {"not a sound at all", "", "Ogg"}) {
        SCOPED_TRACE(bytes);
        platform::HeadlessPlatform fresh;
        Game game{fresh, dir};
        fixture::write_sounds(dir);
        std::ofstream(dir / sound::kMusicFiles[2], std::ios::binary | std::ios::trunc) << bytes;
        sound::sound_init(game.mixer());
        game.sound.enabled = {true, true};

        testing::internal::CaptureStderr();
        sound::sound_open_and_apply(game.mixer(), kMusicChannel, sound::kMusicFiles[2]);
        sound::sound_open_and_apply(game.mixer(), kMusicChannel, sound::kMusicFiles[2]);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(lines(err), 1) << err;
        EXPECT_NE(err.find(sound::kMusicFiles[2]), std::string::npos) << err;

        EXPECT_EQ(game.sound.stream[kMusicChannel], 0);
        EXPECT_FALSE(fresh.headless_audio().closed());
        sound::sound_open_and_apply(game.mixer(), kEffectChannel, sound::kEffectFile);
        EXPECT_TRUE(fresh.headless_audio().is_playing(kEffectChannel));
        sound::sound_open_and_apply(game.mixer(), kMusicChannel, sound::kMusicFiles[3]);
        EXPECT_TRUE(fresh.headless_audio().is_playing(kMusicChannel));
    }
}

}  // namespace
