#include "scenes/music_test_scene.h"

#include <string>

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "gfx/archive.h"
#include "scenes/controls.h"
#include "settings/settings.h"
#include "sound/sound.h"

namespace scenes {

using namespace platform;

namespace {

constexpr int kTrackCount = static_cast<int>(sound::kMusicFiles.size());

auto music_controls(Game& game) {
    return ControlTable{kMusicControls, game.music_view.lit};
}

void play_track(Game& game) {
    sound::music_test_play(game.mixer(), game.music_test,
                           sound::kMusicFiles[static_cast<size_t>(game.music_test.track)]);
}

// The selector wraps round at both ends; a track change is heard at once only while playing.
void step_track(Game& game, int delta) {
    sound::MusicTestState& m = game.music_test;
    m.track = (m.track + delta + kTrackCount) % kTrackCount;
    if (m.playing) play_track(game);
}

void toggle_play(Game& game) {
    game.music_test.playing = !game.music_test.playing;
    if (game.music_test.playing) {
        play_track(game);
    } else {
        sound::sound_stop_all(game.mixer());
    }
}

void toggle_loop(Game& game) {
    game.music_test.loop = !game.music_test.loop;
    settings::write_setting(game.profile, settings::kTestLoop, game.music_test.loop ? 1 : 0);
}

// The volume is written even when it sat at its bound and did not move.
void step_volume(Game& game, int delta) {
    sound::music_test_step_volume(game.mixer(), game.music_test, delta);
    settings::write_setting(game.profile, settings::kTestVolume, game.music_test.volume);
}

void act_on_music_control(Game& game, MusicControl c) {
    switch (c) {
        case kPrevTrack:
            step_track(game, -1);
            break;
        case kNextTrack:
            step_track(game, +1);
            break;
        case kPlaySwitch:
            toggle_play(game);
            break;
        case kLoopSwitch:
            toggle_loop(game);
            break;
        case kVolDown:
            step_volume(game, -1);
            break;
        case kVolUp:
            step_volume(game, +1);
            break;
    }
}

void music_test_click(Game& game) {
    const int c = game.music_view.lit.index;
    if (c >= 0) act_on_music_control(game, static_cast<MusicControl>(c));
}

}  // namespace

void music_test_enter(Game& game) {
    game.music_view.lit.clear();
    music_test_restore(game);
}

void music_test_restore(Game& game) {
    app::load_screen_picture(game, app::kMusicTestPicture);
    app::load_piece(game, game.sheets.arrow_sheet, gfx::kArrowPiece);
    app::load_piece(game, game.sheets.switch_sheet, gfx::kSwitchPiece);
    app::load_piece(game, game.sheets.stage_numbers_sheet, gfx::kStageNumbersPiece);
}

void music_test_handle(Game& game, const Message& message) {
    if (message.id == kWmMouseMove) {
        music_controls(game).point_at(game.mouse_x, game.mouse_y);
    } else if (message.id == kWmLButtonDown) {
        music_test_click(game);
    }
}

void music_test_update(Game& game) {
    const auto controls = music_controls(game);
    const sound::MusicTestState& m = game.music_test;
    // An ended track restarts here or switches PLAY off, before this frame is drawn.
    if (m.playing) sound::music_test_loop_check(game.mixer(), game.music_test);
    app::draw_screen_picture(game);
    app::draw_back_button(game);
    controls.draw_arrow(game, kPrevTrack, false);
    game.sheets.stage_numbers_sheet.draw_cell(game.back_buffer(), kTrackNumberX, kTrackNumberY,
                                              m.track, true);
    controls.draw_arrow(game, kNextTrack, true);
    app::draw_text(game, kMusicLabelX, kPlayY, "PLAY:");
    controls.draw_switch(game, kPlaySwitch, m.playing);
    app::draw_text(game, kMusicLabelX, kLoopY, "LOOP:");
    controls.draw_switch(game, kLoopSwitch, m.loop);
    app::draw_text(game, kMusicLabelX, kMusicVolumeY, "VOL:");
    controls.draw_arrow(game, kVolDown, false);
    app::draw_text(game, kMusicValueX, kMusicVolumeY, std::to_string(m.volume));
    controls.draw_arrow(game, kVolUp, true);
    app::draw_cursor(game, 0);
}

// Playing stops and all sound with it before the way back, which starts the title music.
void music_test_leave(Game& game) {
    game.music_test.playing = false;
    sound::sound_stop_all(game.mixer());
}

}  // namespace scenes
