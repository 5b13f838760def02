#pragma once
#include "platform/messages.h"

struct Game;

namespace scores {

// Row i of the display: name at (240, 110 + 30 i), score at (320, 110 + 30 i).
inline constexpr int kNameX = 240;
inline constexpr int kScoreX = 320;
inline constexpr int kFirstRowY = 110;
inline constexpr int kRowStep = 30;

// The display's picture into the screen picture; it is the restore too.
void high_scores_enter(Game& game);
void high_scores_update(Game& game);

}  // namespace scores
