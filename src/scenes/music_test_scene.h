#pragma once
#include <array>

#include "platform/messages.h"

struct Game;

namespace scenes {

struct MusicTestView {
    std::array<bool, 6> music_hot{};
};

void music_test_enter(Game& game);
void music_test_handle(Game& game, const platform::Message& message);
void music_test_update(Game& game);
void music_test_restore(Game& game);

}  // namespace scenes
