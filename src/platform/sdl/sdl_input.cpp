#include "platform/sdl/sdl_input.h"

#include "platform/platform.h"

namespace platform::sdl {

Layout fit_screen(int output_w, int output_h) {
    const PictureFit fit = fit_picture(output_w, output_h);
    return {fit.scale, {fit.x, fit.y, fit.width, fit.height}};
}

namespace {

int to_output(int v, int window_size, int output_size) {
    if (window_size <= 0 || output_size <= 0) return v;
    return static_cast<int>(static_cast<int64_t>(v) * output_size / window_size);
}

// Keys whose Win32 code is not their character.
std::optional<uint32_t> special_key(SDL_Keycode key) {
    switch (key) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return kVkShift;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return kVkControl;
        case SDLK_LALT:
        case SDLK_RALT:
            return 18;
        case SDLK_PAUSE:
            return 19;
        case SDLK_CAPSLOCK:
            return 20;
        case SDLK_ESCAPE:
            return kVkEscape;
        case SDLK_SPACE:
            return kVkSpace;
        case SDLK_PAGEUP:
            return 33;
        case SDLK_PAGEDOWN:
            return 34;
        case SDLK_END:
            return 35;
        case SDLK_HOME:
            return 36;
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        case SDLK_INSERT:
            return 45;
        case SDLK_DELETE:
            return 46;
        default:
            break;
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61u + static_cast<uint32_t>(key - SDLK_KP_1);
    if (key == SDLK_KP_0) return 0x60;
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112u + static_cast<uint32_t>(key - SDLK_F1);
    return std::nullopt;
}

Message mouse_at(uint32_t id, int x, int y, const ViewSize& view) {
    const ScreenPoint p = window_to_screen(x, y, view);
    return mouse_message(id, p.x, p.y);
}

std::optional<Message> button_message(const SDL_MouseButtonEvent& b, const ViewSize& view) {
    // Every second press of a quick series is a double click, as with CS_DBLCLKS.
    const bool dbl = b.clicks >= 2 && b.clicks % 2 == 0;
    const bool down = b.type == SDL_MOUSEBUTTONDOWN;
    uint32_t id = 0;
    if (b.button == SDL_BUTTON_LEFT) {
        id = !down ? kWmLButtonUp : dbl ? kWmLButtonDblClk : kWmLButtonDown;
    } else if (b.button == SDL_BUTTON_RIGHT && down) {
        id = dbl ? kWmRButtonDblClk : kWmRButtonDown;
    } else {
        return std::nullopt;
    }
    return mouse_at(id, b.x, b.y, view);
}

}  // namespace

ScreenPoint window_to_screen(int x, int y, const ViewSize& view) {
    return to_screen(to_output(x, view.window_w, view.output_w),
                     to_output(y, view.window_h, view.output_h),
                     fit_picture(view.output_w, view.output_h));
}

std::optional<uint32_t> virtual_key(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>(key - SDLK_a) + 'A';
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>(key - SDLK_0) + '0';
    return special_key(key);
}

bool is_display_switch(const SDL_Keysym& key) {
    if (key.sym == SDLK_F11) return true;
    return (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT) != 0;
}

std::optional<Message> input_message(const SDL_Event& event, const ViewSize& view) {
    switch (event.type) {
        case SDL_MOUSEMOTION:
            return mouse_at(kWmMouseMove, event.motion.x, event.motion.y, view);
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            return button_message(event.button, view);
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            // Auto-repeat arrives as further key-downs, as on Win32.
            const auto vk = virtual_key(event.key.keysym.sym);
            if (!vk) return std::nullopt;
            return key_message(event.type == SDL_KEYDOWN ? kWmKeyDown : kWmKeyUp, *vk);
        }
        default:
            return std::nullopt;
    }
}

}  // namespace platform::sdl
