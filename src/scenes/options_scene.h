#pragma once
#include <array>

#include "platform/messages.h"

struct Game;

namespace scenes {

struct OptionsState {
    std::array<bool, 9> option_hot{};
};

void options_enter(Game& game);
void options_handle(Game& game, const platform::Message& message);
void options_update(Game& game);
void options_restore(Game& game);

}  // namespace scenes
