#pragma once
#include <array>

#include "gfx/text.h"
#include "platform/messages.h"

struct Game;

namespace scenes {

// The pause screen's two lines; their left edges differ, as the game has always drawn them.
inline constexpr std::array<gfx::TextAt, 2> kPauseLines = {{
    {134, 200, "PRESS SPACE KEY OR"},
    {84, 230, "RIGHT CLICK TO CONTINUE"},
}};

// The pause picture. It is the restore too, so a display lost while paused leaves nothing
// blank (the shell reloads the common sheets).
void pause_enter(Game& game);
void pause_handle(Game& game, const platform::Message& message);
void pause_update(Game& game);

}  // namespace scenes
