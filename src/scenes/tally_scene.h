#pragma once
#include "app/hit_test.h"
#include "platform/messages.h"

struct Game;

namespace puzzle {

// The two offers' pointer areas.
inline constexpr gfx::Rect kGalleryOffer = app::hit_area(225, 293, 190, 23);
inline constexpr gfx::Rect kRecordOffer = app::hit_area(225, 333, 190, 23);

void tally_handle(Game& game, const platform::Message& message);
void tally_update(Game& game);
// The tally's picture.
void tally_enter(Game& game);
void tally_restore(Game& game);

}  // namespace puzzle
