#pragma once
#include "gfx/text.h"
#include "platform/messages.h"

struct Game;

namespace scenes {

inline constexpr gfx::TextAt kPlayAgainLine = {84, 230, "RIGHT CLICK TO PLAY AGAIN"};

// The time-up picture; it is the restore too.
void game_over_enter(Game& game);
void game_over_update(Game& game);

}  // namespace scenes
