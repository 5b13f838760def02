#pragma once
#include "platform/messages.h"

struct Game;

namespace scores {

void load_high_score_scene(Game& game);
void high_scores_update(Game& game);
void high_scores_handle(Game& game, const platform::Message& message);
void high_scores_restore(Game& game);

}  // namespace scores
