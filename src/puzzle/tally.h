#pragma once
#include "platform/messages.h"

struct Game;

namespace puzzle {

void tally_handle(Game& game, const platform::Message& message);
void tally_update(Game& game);
// Picture 14 and the common sheets; name entry shares it.
void tally_restore(Game& game);

}  // namespace puzzle
