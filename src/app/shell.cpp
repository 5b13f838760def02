#include "app/shell.h"

#include <ctime>

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "settings/settings.h"
#include "sound/sound.h"

namespace app {

using namespace platform;

void start_up(Game& game, std::optional<uint32_t> seed) {
    sound::sound_init(game);
    load_screen_picture(game, kTitlePicture);
    load_common_sheets(game);
    settings::read_startup_settings(game);
    sound::sound_step_level(game, sound::kMusicChannel, 0);
    sound::sound_step_level(game, sound::kEffectChannel, 0);
    sound::music_test_step_volume(game, 0);
    settings::adjust_difficulty(game, 0);
    game.platform.hide_cursor();
    sound::sound_open_and_apply(game, sound::kMusicChannel, sound::kMusicFiles[0]);
    game.random.seed(seed ? *seed : static_cast<uint32_t>(std::time(nullptr)));
    game.current_scene = Title;
}

void window_proc(Game& game, const Message& message) {
    if (!game.surfaces_lost)
        kSceneTable[static_cast<size_t>(game.current_scene)].handler(game, message);
    default_window_proc(game, message);
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
    if (!game.surfaces_lost) kSceneTable[static_cast<size_t>(game.current_scene)].update(game);
    if (game.quit_requested) return;
    if (game.platform.flip() == FlipResult::Ok) {
        game.surfaces_lost = false;
        return;
    }
    game.surfaces_lost = true;
    // The update may have handed over to another scene: restore the one now current.
    const auto& scene = kSceneTable[static_cast<size_t>(game.current_scene)];
    if (scene.restore) scene.restore(game);
    game.platform.restore();
}

void destroy_window(Game& game) {
    game.platform.destroy_window();
    window_proc(game, {kWmDestroy, 0, 0});
}

void quit_game(Game& game) {
    game.sheets.screen_picture.unload();
    sound::sound_stop_channel(game, sound::kMusicChannel);
    sound::sound_stop_channel(game, sound::kEffectChannel);
    destroy_window(game);
    game.quit_requested = 1;
}

void post_quit_message(Game& game, uint32_t code) {
    game.platform.post_message({kWmQuit, code, 0});
}

void handle_common(Game& game, const Message& message) {
    if (message.id == kWmDestroy) {
        post_quit_message(game, 0);
    } else if (message.id == kWmKeyDown && message.wparam == kVkEscape) {
        quit_game(game);
    }
}

void store_mouse(Game& game, const Message& message) {
    game.mouse_x = point_x(message.lparam);
    game.mouse_y = point_y(message.lparam);
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

int run_main_loop(Game& game, const LoopOptions& options) {
    for (uint64_t pass = 0; options.max_passes == 0 || pass < options.max_passes; ++pass) {
        if (auto code = main_loop_pass(game, pass)) return *code;
    }
    return 0;
}

void shut_down(Game& game) {
    // Sheets release their own pixels; the device goes with the platform object.
    game.sheets = Sheets{};
}

}  // namespace app
