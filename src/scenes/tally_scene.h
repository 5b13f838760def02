#pragma once
#include <array>

#include "app/hit_test.h"
#include "gfx/text.h"
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

// The figures, one row every 25 pixels: a label, a five-digit counter, and on two rows a note.
inline constexpr int kTallyLabelX = 225;
inline constexpr int kTallyCounterX = 337;
inline constexpr int kTallyNoteX = 417;
struct TallyRow {
    int y;
    const char* label;
    const char* note;
};
inline constexpr std::array<TallyRow, 4> kTallyRows = {{
    {178, "SCORE:", nullptr},
    {203, "BONUS:", "(TIME X 10)"},
    {228, "RENSA:", "(RENSA X100)"},
    {253, "TOTAL:", nullptr},
}};
// The offers' texts start left of their areas, and 10 pixels apart.
inline constexpr gfx::TextAt kGalleryOfferText = {205, 293, "ENTER GALLERY"};
inline constexpr gfx::TextAt kRecordOfferText = {195, 333, "RECORD HISCORE"};
inline constexpr gfx::TextAt kCountingText = {175, 293, "NOW COUNTING. . ."};

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
