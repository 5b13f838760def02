#pragma once
#include "platform/messages.h"

struct Game;

namespace scenes {

// The time-up picture; it is the restore too.
void game_over_enter(Game& game);
void game_over_update(Game& game);

}  // namespace scenes
