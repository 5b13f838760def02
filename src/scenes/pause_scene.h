#pragma once
#include "platform/messages.h"

struct Game;

namespace scenes {

void pause_enter(Game& game);
void pause_handle(Game& game, const platform::Message& message);
void pause_update(Game& game);
// The pause picture and the common sheets again, so a display lost while paused leaves nothing
// blank.
void pause_restore(Game& game);

}  // namespace scenes
