#pragma once
#include <SDL.h>

#include <cstdint>
#include <optional>

#include "platform/messages.h"
#include "platform/screen_fit.h"

namespace platform::sdl {

// Where the 640 x 480 picture lies in the renderer's output (see fit_picture), as SDL's rectangle.
struct Layout {
    int scale = 1;
    SDL_Rect dest{0, 0, 640, 480};
};
Layout fit_screen(int output_w, int output_h);

// The window's size in window coordinates (what mouse events use) and in output pixels (what
// the renderer draws); they differ on high-density displays.
struct ViewSize {
    int window_w = 0;
    int window_h = 0;
    int output_w = 0;
    int output_h = 0;
};

// A point of the window in screen coordinates, clamped to the screen.
ScreenPoint window_to_screen(int x, int y, const ViewSize& view);

// The Win32 virtual key of an SDL key, or nothing for keys the game has no use for.
std::optional<uint32_t> virtual_key(SDL_Keycode key);

// Alt+Enter (either Enter) or F11: the player switches between full screen and the window.
bool is_display_switch(const SDL_Keysym& key);

// The message an input event makes, or nothing for events that are not input.
std::optional<Message> input_message(const SDL_Event& event, const ViewSize& view);

}  // namespace platform::sdl
