#pragma once
#include "platform/messages.h"

struct Game;

namespace scenes {

// The pause picture. It is the restore too, so a display lost while paused leaves nothing
// blank (the shell reloads the common sheets).
void pause_enter(Game& game);
void pause_handle(Game& game, const platform::Message& message);
void pause_update(Game& game);

}  // namespace scenes
