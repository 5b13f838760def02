#pragma once
#include "platform/messages.h"

struct Game;

namespace puzzle {

// Where the play screen draws its read-outs.
inline constexpr int kLabelX = 450;
inline constexpr int kValueX = 556;
inline constexpr int kScoreY = 4;
inline constexpr int kTimeY = 29;
inline constexpr int kChainY = 54;
inline constexpr int kStageNumberX = 320;
inline constexpr int kStageNumberY = 440;

// The title's first item: play pictures, the play scene, silence, a new game, stage 1.
void start_game(Game& game);
void load_play_pictures(Game& game);
void restore_play_pictures(Game& game);
void play_handle(Game& game, const platform::Message& message);
void play_update(Game& game);
// Back from the pause: the play sheets reloaded, the stage picture cut again and every piece
// drawn where it was.
void resume_play(Game& game);

}  // namespace puzzle
