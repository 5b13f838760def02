#pragma once
#include <cstdint>
#include <optional>

#include "app/scene.h"
#include "platform/messages.h"

struct Game;

namespace app {

// Start-up in its fixed order: sound, title picture, common sheets, settings and volumes,
// pointer, title music, random seed; the game begins on the title. A seed replaces the clock's.
void start_up(Game& game, std::optional<uint32_t> seed);
// Unless the surfaces are lost: the handling every scene shares (the quit message on
// destruction, Escape quits, mouse moves store the pointer), then the current scene's own.
// Default handling follows in any case.
void window_proc(Game& game, const platform::Message& message);
// The one way to make another scene current; its entry runs as it takes over.
void change_scene(Game& game, Scene next);
// Makes the paused scene current again through its resume routine, without its entry.
void resume_scene(Game& game, Scene paused);
// What the window does with a message after the scene: a close request destroys the window.
void default_window_proc(Game& game, const platform::Message& message);
// One frame: the scene's update and a flip, or the restore path while the display is lost.
void frame_tick(Game& game);
// Releases the main picture, silences both channels, destroys the window.
void quit_game(Game& game);
void destroy_window(Game& game);
void post_quit_message(Game& game, uint32_t code);

// One pass of the main loop: at most one message, then one frame. Returns the quit code
// when the pass took kWmQuit, which ends the loop.
std::optional<int> main_loop_pass(Game& game, uint64_t pass);

void shut_down(Game& game);

}  // namespace app
