#include "scenes/options_scene.h"

#include <algorithm>
#include <string>

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "gfx/archive.h"
#include "pictures/picture_folder.h"
#include "rules/difficulty.h"
#include "scenes/controls.h"
#include "settings/settings.h"
#include "sound/sound.h"

namespace scenes {

using namespace platform;

namespace {

auto option_controls(Game& game) {
    return ControlTable{kOptionControls, game.options.lit};
}

// Toggling a switch only records it; the music starts or stops when the title is reached.
void toggle(Game& game, bool& value, settings::Setting key) {
    value = !value;
    settings::write_setting(game.profile, key, value ? 1 : 0);
}

// The step is written even when it sat at its bound and did not move.
void step_channel(Game& game, int channel, int delta, settings::Setting key) {
    sound::sound_step_level(game.mixer(), channel, delta);
    settings::write_setting(game.profile, key, game.sound.level[static_cast<size_t>(channel)]);
}

// The left arrow chooses the game's pictures, the right one the player's own.
void choose_pictures(Game& game, bool yours) {
    game.your_pictures = yours;
    settings::write_setting(game.profile, settings::kYourPictures, yours ? 1 : 0);
}

// GAME, YOURS, or NONE when the player's folder holds no picture the game can show (play then
// takes the game's own). Counted on entry and again after a drop.
const char* pictures_value(Game& game) {
    OptionsState& o = game.options;
    if (o.counted_drops != game.picture_drops) {
        o.usable_pictures =
            static_cast<int>(pictures::usable_pictures(game.picture_folder()).size());
        o.counted_drops = game.picture_drops;
    }
    if (!game.your_pictures) return "GAME";
    return o.usable_pictures > 0 ? "YOURS" : "NONE";
}

// The left arrow makes the game easier, the right arrow harder.
void step_difficulty(Game& game, int delta) {
    game.difficulty = rules::step_difficulty(game.difficulty, delta);
    settings::write_setting(game.profile, settings::kDifficulty, game.difficulty);
}

void act_on_option(Game& game, OptionControl c) {
    switch (c) {
        case kBgmSwitch:
            toggle(game, game.sound.enabled[sound::kMusicChannel], settings::kMusicOn);
            break;
        case kBgmDown:
            step_channel(game, sound::kMusicChannel, -1, settings::kMusicLevel);
            break;
        case kBgmUp:
            step_channel(game, sound::kMusicChannel, +1, settings::kMusicLevel);
            break;
        case kSeSwitch:
            toggle(game, game.sound.enabled[sound::kEffectChannel], settings::kEffectOn);
            break;
        case kSeDown:
            step_channel(game, sound::kEffectChannel, -1, settings::kEffectLevel);
            break;
        case kSeUp:
            step_channel(game, sound::kEffectChannel, +1, settings::kEffectLevel);
            break;
        case kFpsSwitch:
            toggle(game, game.show_fps, settings::kShowFps);
            break;
        case kLvlLeft:
            step_difficulty(game, +1);
            break;
        case kLvlRight:
            step_difficulty(game, -1);
            break;
        case kPicturesGame:
            choose_pictures(game, false);
            break;
        case kPicturesYours:
            choose_pictures(game, true);
            break;
    }
}

void options_click(Game& game) {
    const int c = game.options.lit.index;
    if (c >= 0) act_on_option(game, static_cast<OptionControl>(c));
}

void draw_volume_row(Game& game, int y, OptionControl down, int level, OptionControl up) {
    const auto controls = option_controls(game);
    app::draw_text(game, kOptionLabelX, y, "VOL:");
    controls.draw_arrow(game, down, false);
    app::draw_text(game, kOptionValueX, y, std::to_string(level));
    controls.draw_arrow(game, up, true);
}

}  // namespace

void options_enter(Game& game) {
    game.options.lit.clear();
    game.options.counted_drops = -1;
    options_restore(game);
}

void options_restore(Game& game) {
    app::load_screen_picture(game, app::kOptionsPicture);
    app::load_piece(game, game.sheets.arrow_sheet, gfx::kArrowPiece);
    app::load_piece(game, game.sheets.switch_sheet, gfx::kSwitchPiece);
}

void options_handle(Game& game, const Message& message) {
    if (message.id == kWmMouseMove) {
        option_controls(game).point_at(game.mouse_x, game.mouse_y);
    } else if (message.id == kWmLButtonDown) {
        options_click(game);
    }
}

void options_update(Game& game) {
    const auto controls = option_controls(game);
    const sound::SoundState& s = game.sound;
    app::draw_screen_picture(game);
    app::draw_back_button(game);
    app::draw_text(game, kOptionLabelX, kBgmY, "BGM:");
    controls.draw_switch(game, kBgmSwitch, s.enabled[sound::kMusicChannel]);
    draw_volume_row(game, kBgmVolumeY, kBgmDown, s.level[sound::kMusicChannel], kBgmUp);
    app::draw_text(game, kOptionLabelX, kSeY, "SE:");
    controls.draw_switch(game, kSeSwitch, s.enabled[sound::kEffectChannel]);
    draw_volume_row(game, kSeVolumeY, kSeDown, s.level[sound::kEffectChannel], kSeUp);
    app::draw_text(game, kOptionLabelX, kFpsY, "FPS:");
    controls.draw_switch(game, kFpsSwitch, game.show_fps);
    app::draw_text(game, kOptionLabelX, kLvlY, "LVL:");
    controls.draw_arrow(game, kLvlLeft, false);
    app::draw_text(game, kOptionValueX, kLvlY, rules::difficulty_name(game.difficulty));
    controls.draw_arrow(game, kLvlRight, true);
    // The label ends where the other rows' values begin, before its arrow.
    app::draw_text(game, kPicturesLabelEnd - game.sheets.font_sheet.text_width(kPicturesLabel),
                   kPicturesY, kPicturesLabel);
    controls.draw_arrow(game, kPicturesGame, false);
    app::draw_text(game, kOptionValueX, kPicturesY, pictures_value(game));
    controls.draw_arrow(game, kPicturesYours, true);
    app::draw_cursor(game, 0);
}

}  // namespace scenes
