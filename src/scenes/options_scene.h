#pragma once
#include <array>

#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace scenes {

struct OptionsState {
    Lit lit;
    int usable_pictures = 0;  // in the player's folder, as last counted
    int counted_drops = -1;   // the drops seen when they were counted; -1: count on entry
};

void options_enter(Game& game);
void options_handle(Game& game, const platform::Message& message);
void options_update(Game& game);
void options_restore(Game& game);

}  // namespace scenes
