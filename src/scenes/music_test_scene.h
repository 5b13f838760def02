#pragma once
#include <array>

#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace scenes {

struct MusicTestView {
    Lit lit;
};

void music_test_enter(Game& game);
void music_test_handle(Game& game, const platform::Message& message);
void music_test_update(Game& game);
void music_test_restore(Game& game);
void music_test_leave(Game& game);

}  // namespace scenes
