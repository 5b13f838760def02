#pragma once
#include "platform/messages.h"

struct Game;

namespace puzzle {

// The title's first item: the play scene, silence, a new game, stage 1.
void start_game(Game& game);
// The next stage of the rules, then its picture cut into tiles, its music and its pieces.
void begin_stage(Game& game);
// The play sheets; the stage picture is cut by the stage set-up or by resume_play.
void play_enter(Game& game);
void play_restore(Game& game);
void play_handle(Game& game, const platform::Message& message);
void play_update(Game& game);
// Back from the pause: the play scene's entry, then the stage picture cut again and every
// piece drawn where it was.
void resume_play(Game& game);

}  // namespace puzzle
