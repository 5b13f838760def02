#pragma once
#include <cstdint>
#include <optional>

#include "app/hit_test.h"
#include "platform/messages.h"

struct Game;

namespace app {

// The same strict test with the area spelled out as left, width, top, height.
constexpr bool point_in_rect(int x, int y, int left, int width, int top, int height) {
    return point_in_rect(x, y, hit_area(left, top, width, height));
}

// Start-up in its fixed order: sound, title picture, common sheets, settings and volumes,
// pointer, title music, random seed, title scene. A seed replaces the clock's.
void start_up(Game& game, std::optional<uint32_t> seed);
// Hands a message to the current scene (unless the surfaces are lost), then default handling.
void window_proc(Game& game, const platform::Message& message);
// What the window does with a message after the scene: a close request destroys the window.
void default_window_proc(Game& game, const platform::Message& message);
// One frame: the scene's update and a flip, or the restore path while the display is lost.
void frame_tick(Game& game);
// Releases the main picture, silences both channels, destroys the window.
void quit_game(Game& game);
void destroy_window(Game& game);
void post_quit_message(Game& game, uint32_t code);
// The conventions every handler shares: kWmDestroy posts the quit message, Escape quits.
void handle_common(Game& game, const platform::Message& message);
// Storing the pointer position from a mouse message.
void store_mouse(Game& game, const platform::Message& message);

// One pass of the main loop: at most one message, then one frame. Returns the quit code
// when the pass took kWmQuit, which ends the loop.
std::optional<int> main_loop_pass(Game& game, uint64_t pass);

struct LoopOptions {
    uint64_t max_passes = 0;  // 0: no limit
};
// The main loop: one message and one frame per pass until kWmQuit or the pass limit.
// Returns the quit message's code.
int run_main_loop(Game& game, const LoopOptions& options);
void shut_down(Game& game);

}  // namespace app
