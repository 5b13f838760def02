#pragma once
#include "platform/messages.h"

struct Game;

namespace puzzle {

// The next stage of the rules, then its picture cut into tiles, its music and its pieces.
void begin_stage(Game& game);
// A new game, from the title's first item: the play sheets, silence, the rules reset, stage 1.
void play_enter(Game& game);
// The play sheets, then the stage picture cut again and every piece drawn where it was. It
// brings the game back after a lost display and after the pause.
void play_restore(Game& game);
void play_handle(Game& game, const platform::Message& message);
void play_update(Game& game);

}  // namespace puzzle
