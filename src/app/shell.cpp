#include "app/shell.h"

#include <ctime>

#include "app/game.h"
#include "app/hit_test.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "pictures/picture_folder.h"
#include "platform/log.h"
#include "settings/settings.h"
#include "sound/sound.h"

namespace app {

using namespace platform;

namespace {

const SceneRoutines& scene_routines(const Game& game) {
    return kSceneTable[static_cast<size_t>(game.current_scene)];
}

// Pictures dropped on the window go into the player's folder on any screen; the notice says
// what was taken and what was refused.
void take_dropped_pictures(Game& game) {
    const std::vector<std::filesystem::path> files = game.platform.take_dropped_files();
    if (files.empty()) return;
    const pictures::ImportReport report = pictures::import_pictures(game.picture_folder(), files);
    for (const pictures::Refusal& refused : report.refused) platform::warn(refused.text());
    game.notice = import_notice(report, game.platform.ticks());
    ++game.picture_drops;
}

void handle_common(Game& game, const Message& message) {
    if (message.id == kWmDestroy) {
        post_quit_message(game, 0);
    } else if (message.id == kWmKeyDown && message.wparam == kVkEscape) {
        quit_game(game);
    } else if (message.id == kWmMouseMove) {
        game.mouse_x = point_x(message.lparam);
        game.mouse_y = point_y(message.lparam);
    } else if (message.id == kWmDropFiles) {
        take_dropped_pictures(game);
    }
}

// The way back the current scene's row describes: the back button lights under the pointer,
// and a click on it or a right click leaves. True when the message was taken.
bool take_way_back(Game& game, const Message& message) {
    const WayBack& back = scene_routines(game).back;
    if (back.button && message.id == kWmMouseMove) {
        game.back_button_hot = on_back_button(game.mouse_x, game.mouse_y) ? 1 : 0;
        return false;
    }
    const bool by_button = back.button && message.id == kWmLButtonDown && game.back_button_hot;
    const bool by_right_click = back.right_click && message.id == kWmRButtonDown;
    if (!by_button && !by_right_click) return false;
    if (back.leave) back.leave(game);
    change_scene(game, back.to);
    return true;
}

// The settings as read, brought into range for this run, into the records that use them; the
// file keeps what it holds until the player changes a value.
void apply_saved_settings(Game& game, const settings::SavedSettings& saved) {
    using namespace settings;
    auto value = [&saved](Setting s) { return in_range(s, saved[s]); };
    game.show_fps = value(kShowFps) != 0;
    game.sound.enabled = {value(kMusicOn) != 0, value(kEffectOn) != 0};
    game.sound.level = {value(kMusicLevel), value(kEffectLevel)};
    game.difficulty = value(kDifficulty);
    game.music_test.loop = value(kTestLoop) != 0;
    game.music_test.volume = value(kTestVolume);
    game.your_pictures = value(kYourPictures) != 0;
}

}  // namespace

void start_up(Game& game, std::optional<uint32_t> seed) {
    sound::sound_init(game.mixer());
    load_screen_picture(game, kTitlePicture);
    load_common_sheets(game);
    apply_saved_settings(game, settings::read_settings(game.profile));
    // The device takes both channels' volumes, then the music test's.
    sound::sound_step_level(game.mixer(), sound::kMusicChannel, 0);
    sound::sound_step_level(game.mixer(), sound::kEffectChannel, 0);
    sound::music_test_step_volume(game.mixer(), game.music_test, 0);
    game.platform.hide_cursor();
    sound::sound_open_and_apply(game.mixer(), sound::kMusicChannel, sound::kMusicFiles[0]);
    // The game begins on the title, whose picture and music start-up has already seen to.
    game.random.seed(seed ? *seed : static_cast<uint32_t>(std::time(nullptr)));
}

void window_proc(Game& game, const Message& message) {
    if (!game.surfaces_lost) {
        handle_common(game, message);
        const auto handler = scene_routines(game).handler;
        if (!take_way_back(game, message) && handler) handler(game, message);
    }
    default_window_proc(game, message);
}

void change_scene(Game& game, Scene next) {
    game.current_scene = next;
    scene_routines(game).enter(game);
}

void resume_scene(Game& game, Scene paused) {
    game.current_scene = paused;
    scene_routines(game).resume(game);
}

void default_window_proc(Game& game, const Message& message) {
    if (message.id == kWmClose && game.quit_requested == 0) {
        destroy_window(game);
    } else if (message.id == kWmDestroy && game.surfaces_lost) {
        // No scene saw the destruction, yet a window that is gone must still end the loop.
        post_quit_message(game, 0);
    }
}

void frame_tick(Game& game) {
    if (game.quit_requested) return;
    if (!game.surfaces_lost) {
        scene_routines(game).update(game);
        // The clock is read only while a notice is up, so a run without drops reads it as
        // it always has.
        if (!game.notice.lines.empty() && !draw_notice(game.notice, game.sheets.font_sheet,
                                                       game.back_buffer(), game.platform.ticks()))
            game.notice = {};
    }
    if (game.quit_requested) return;
    if (game.platform.flip() == FlipResult::Ok) {
        game.surfaces_lost = false;
        return;
    }
    game.surfaces_lost = true;
    // The update may have handed over to another scene: restore the one now current. The
    // common sheets went with the display too.
    scene_routines(game).restore(game);
    load_common_sheets(game);
    game.platform.restore();
}

void destroy_window(Game& game) {
    game.platform.destroy_window();
    window_proc(game, {kWmDestroy, 0, 0});
}

void quit_game(Game& game) {
    game.sheets.screen_picture.unload();
    sound::sound_stop_channel(game.mixer(), sound::kMusicChannel);
    sound::sound_stop_channel(game.mixer(), sound::kEffectChannel);
    destroy_window(game);
    game.quit_requested = 1;
}

void post_quit_message(Game& game, uint32_t code) {
    game.platform.post_message({kWmQuit, code, 0});
}

std::optional<int> main_loop_pass(Game& game, uint64_t pass) {
    game.platform.begin_pass(pass);
    game.profile.poll();
    Message message;
    if (game.platform.peek_message(message)) {
        if (message.id == kWmQuit) return static_cast<int>(message.wparam);
        window_proc(game, message);
    }
    frame_tick(game);
    return std::nullopt;
}

void shut_down(Game& game) {
    // Sheets release their own pixels; the device goes with the platform object.
    game.sheets = Sheets{};
}

}  // namespace app
