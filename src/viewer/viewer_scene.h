#pragma once
#include "platform/messages.h"

struct Game;

namespace viewer {

void enter_viewer(Game& game);
void restore_viewer(Game& game);
void viewer_update(Game& game);
void viewer_handle(Game& game, const platform::Message& message);

}  // namespace viewer
