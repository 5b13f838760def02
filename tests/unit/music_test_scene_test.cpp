#include "scenes/music_test_scene.h"

#include <gtest/gtest.h>

#include <string>

#include "app/game.h"
#include "frontend_helpers.h"
#include "gfx/text.h"
#include "sound/sound.h"
#include "support/fixture_pack.h"
#include "support/test_game.h"

namespace {

using frontend::read_ini;
using platform::HeadlessAudio;

// Music off at step 2 in the options; the music test at volume 6.
const char* const kMusicTestIni = "[music]\nbgm=2\n[sound]\nvol=6\n";

void enter_music_test(TestGame& t, const char* ini = kMusicTestIni) {
    if (ini) frontend::write_ini(t, ini);
    t.start();
    frontend::click_title_item(t, frontend::kMusicTestItem);
    ASSERT_EQ(t.game->current_scene, MusicTest);
}

// Points strictly inside the controls.
constexpr std::pair<int, int> kPrev{130, 120};
constexpr std::pair<int, int> kNext{505, 120};
constexpr std::pair<int, int> kPlay{360, 165};
constexpr std::pair<int, int> kLoop{360, 211};
constexpr std::pair<int, int> kVolDown{335, 257};
constexpr std::pair<int, int> kVolUp{388, 257};

void click(TestGame& t, std::pair<int, int> p) {
    t.click(p.first, p.second);
}

// The fixture's tracks are 100 + track bytes long, so a stream tells which track it is.
int playing_track(HeadlessAudio& audio) {
    const int stream = audio.playing_stream(0);
    return stream == 0 ? -1 : static_cast<int>(audio.stream_size(stream)) - 100;
}

}  // namespace

TEST(MusicTestScene, TrackSelectorWrapsAndSwitchesThePlayingTrack) {
    struct Case {
        int from;
        std::pair<int, int> arrow;
        int to;
    };
    const Case cases[] = {{0, kPrev, 5}, {5, kNext, 0}, {2, kNext, 3}, {3, kPrev, 2}};
    for (bool playing : {false, true}) {
        TestGame t;
        enter_music_test(t);
        auto& audio = t.platform.headless_audio();
        if (playing) click(t, kPlay);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.from) + (playing ? " playing" : " silent"));
            t.game->music_test.track = c.from;
            click(t, c.arrow);
            EXPECT_EQ(t.game->music_test.track, c.to);
            EXPECT_EQ(playing_track(audio), playing ? c.to : -1);
            if (playing) {
                EXPECT_EQ(audio.volume(0), sound::kVolumeSteps[6]);
            }
            EXPECT_EQ(t.pixel(179, 139), fixture::cell_colour(11, c.to)) << "track number";
        }
    }
}

// Music is off in the options, yet the music test plays, at its own volume.
TEST(MusicTestScene, PlaySwitchPlaysAtItsOwnVolumeAndStops) {
    TestGame t;
    enter_music_test(t);
    auto& audio = t.platform.headless_audio();
    click(t, kNext);
    click(t, kPlay);
    EXPECT_TRUE(t.game->music_test.playing);
    EXPECT_EQ(playing_track(audio), 1);
    EXPECT_EQ(audio.volume(0), sound::kVolumeSteps[6]);
    click(t, kVolUp);
    EXPECT_EQ(audio.volume(0), sound::kVolumeSteps[7]) << "heard at once";
    click(t, kPlay);
    EXPECT_FALSE(t.game->music_test.playing);
    EXPECT_EQ(playing_track(audio), -1);
}

// The options' music step and the music test's volume never move each other.
TEST(MusicTestScene, LoopAndVolumeWriteTheirKeysEvenAtTheBounds) {
    struct Case {
        const char* name;
        std::pair<int, int> control;
        bool loop;
        int volume;
        const char* key;
        int written;
    };
    const Case cases[] = {
        {"loop on", kLoop, false, 4, "sound/loop", 1},
        {"loop off", kLoop, true, 4, "sound/loop", 0},
        {"down", kVolDown, false, 4, "sound/vol", 3},
        {"down at 0", kVolDown, false, 0, "sound/vol", 0},
        {"up", kVolUp, false, 4, "sound/vol", 5},
        {"up at 9", kVolUp, false, 9, "sound/vol", 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestGame t;
        enter_music_test(t);
        t.game->music_test.loop = c.loop;
        t.game->music_test.volume = c.volume;
        frontend::clear_ini(t);
        click(t, c.control);
        EXPECT_EQ(read_ini(t.dir),
                  (std::map<std::string, std::string>{{c.key, std::to_string(c.written)}}));
        if (c.control == kLoop) {
            EXPECT_EQ(t.game->music_test.loop, c.written == 1);
        } else {
            EXPECT_EQ(t.game->music_test.volume, c.written);
        }
        EXPECT_EQ(t.game->sound.level[0], 3) << "the options' music step stays";
    }
}

// A track that ends restarts with LOOP, at the options' music step, or switches PLAY off.
TEST(MusicTestScene, EndedTrackLoopsAtTheMusicStepOrSwitchesPlayOff) {
    for (bool loop : {false, true}) {
        SCOPED_TRACE(loop ? "loop" : "no loop");
        TestGame t;  // 16 ms a pass
        enter_music_test(t);
        auto& audio = t.platform.headless_audio();
        audio.set_stream_length_ms(400);
        t.game->music_test.loop = loop;
        click(t, kPlay);
        t.move(600, 450);
        t.passes(10);
        ASSERT_TRUE(t.game->music_test.playing);
        EXPECT_EQ(t.pixel(387, 178), fixture::cell_colour(1, 0)) << "PLAY shows on";
        t.passes(20);
        EXPECT_EQ(t.game->music_test.playing, loop);
        EXPECT_EQ(audio.is_playing(0), loop);
        EXPECT_EQ(t.pixel(387, 178), fixture::cell_colour(1, loop ? 0 : 2));
        if (loop) {
            EXPECT_EQ(playing_track(audio), 0);
            EXPECT_EQ(audio.volume(0), sound::kVolumeSteps[3]) << "the options' step, not 6";
        }
    }
}

TEST(MusicTestScene, LeavingStopsTheTrackAndTheNextVisitKeepsTheTrackWithPlayOff) {
    enum class Way { RightClickOnPlay, BackButton };
    for (Way way : {Way::RightClickOnPlay, Way::BackButton}) {
        TestGame t;
        frontend::write_ini(t, "[music]\nbgmon=1\n");
        t.start();
        frontend::click_title_item(t, frontend::kMusicTestItem);
        auto& audio = t.platform.headless_audio();
        click(t, kPrev);
        click(t, kPlay);
        ASSERT_EQ(playing_track(audio), 5);
        if (way == Way::RightClickOnPlay) {
            t.right_click(kPlay.first, kPlay.second);
        } else {
            t.click(20, 20);
        }
        EXPECT_EQ(t.game->current_scene, Title);
        EXPECT_FALSE(t.game->music_test.playing);
        EXPECT_EQ(t.game->back_button_hot, 0);
        EXPECT_EQ(playing_track(audio), 0) << "the title music, as music is on";
        frontend::click_title_item(t, frontend::kMusicTestItem);
        EXPECT_FALSE(t.game->music_view.lit.any()) << "a control stayed lit from the last visit";
        EXPECT_EQ(t.game->music_test.track, 5);
        EXPECT_FALSE(t.game->music_test.playing);
        EXPECT_EQ(playing_track(audio), -1);
    }
}

// Each visit raises the options' music step by one up to 9 and never writes it.
TEST(MusicTestScene, EachVisitRaisesTheMusicStepWithoutWritingIt) {
    TestGame t;
    frontend::write_ini(t, "[music]\nbgm=7\n");
    t.start();
    for (int expected : {8, 9, 9}) {
        frontend::click_title_item(t, frontend::kMusicTestItem);
        EXPECT_EQ(t.game->sound.level[0], expected);
        t.right_click(600, 450);
    }
    frontend::click_title_item(t, frontend::kOptionsItem);
    EXPECT_EQ(t.pixel(357, 156), fixture::cell_colour(9, gfx::glyph_index('9')));
    EXPECT_EQ(read_ini(t.dir)["music/bgm"], "7");
}

TEST(MusicTestScene, DrawsItsControlsAndHotCells) {
    struct Control {
        int left, top, width, height, piece, cell;
    };
    const Control controls[] = {
        {120, 110, 23, 23, 2, 0}, {497, 110, 23, 23, 2, 2}, {341, 156, 47, 23, 1, 2},
        {341, 202, 47, 23, 1, 2}, {327, 248, 23, 23, 2, 0}, {380, 248, 23, 23, 2, 2},
    };
    TestGame t;
    enter_music_test(t);
    t.move(600, 450);
    EXPECT_EQ(t.pixel(5, 60), fixture::picture_pixel(17, 5, 60));
    EXPECT_EQ(t.pixel(357, 248), fixture::cell_colour(9, gfx::glyph_index('6')));
    EXPECT_EQ(t.pixel(240, 156), fixture::cell_colour(9, gfx::glyph_index('P')));
    for (const Control& c : controls) {
        const int x = c.left + c.width - 1, y = c.top + c.height - 1;
        EXPECT_EQ(t.pixel(x, y), fixture::cell_colour(c.piece, c.cell)) << c.left << "," << c.top;
        t.move(c.left + 1, c.top + 1);
        EXPECT_EQ(t.pixel(x, y), fixture::cell_colour(c.piece, c.cell + 1))
            << c.left << "," << c.top;
        t.move(600, 450);
    }
}
