#pragma once
#include "platform/messages.h"

struct Game;

namespace scenes {

// The chosen reward picture at full screen.
void picture_view_enter(Game& game);
void picture_view_update(Game& game);
void picture_view_restore(Game& game);

}  // namespace scenes
