#pragma once
#include <array>

#include "app/hit_test.h"
#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace puzzle {

// The two offers' pointer areas, in the order the pointer is tested against them.
enum TallyOffer : int { kGalleryOffer, kRecordOffer };
inline constexpr std::array<gfx::Rect, 2> kTallyOffers = {{
    app::hit_area(225, 293, 190, 23),
    app::hit_area(225, 333, 190, 23),
}};

struct TallyView {
    scenes::Lit lit;  // the offer under the pointer; the record offer only with a total
};

void tally_handle(Game& game, const platform::Message& message);
void tally_update(Game& game);
// The tally's picture, no offer lit.
void tally_enter(Game& game);
// The tally's picture; name entry restores with it too.
void tally_restore(Game& game);

}  // namespace puzzle
