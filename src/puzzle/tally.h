#pragma once
#include "platform/messages.h"

struct Game;

namespace puzzle {

// The two offers' pointer areas: left, width, top, height, all edges outside.
struct OfferArea {
    int left, width, top, height;
};
inline constexpr OfferArea kGalleryOffer = {225, 190, 293, 23};
inline constexpr OfferArea kRecordOffer = {225, 190, 333, 23};

void tally_handle(Game& game, const platform::Message& message);
void tally_update(Game& game);
// Picture 14 and the common sheets; name entry shares it.
void tally_restore(Game& game);

}  // namespace puzzle
