#pragma once
#include <array>

#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace scenes {

struct OptionsState {
    Lit lit;
};

void options_enter(Game& game);
void options_handle(Game& game, const platform::Message& message);
void options_update(Game& game);
void options_restore(Game& game);

}  // namespace scenes
