#pragma once
#include "platform/messages.h"

struct Game;

namespace scenes {

void pause_handle(Game& game, const platform::Message& message);
void pause_update(Game& game);
void pause_restore(Game& game);

}  // namespace scenes
