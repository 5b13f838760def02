#pragma once
#include <array>

#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace scenes {

inline constexpr std::array<int, 8> kGalleryThresholds = {10000, 15000, 20000, 30000,
                                                          40000, 50000, 60000, 65000};

struct GalleryState {
    Lit lit;
    std::array<bool, 8> open{};
    int choice = 0;  // the thumbnail last pointed at, 1 to 8, or 0
};

// The gallery's picture and the thumbnails, loaded again on every way in; the back button
// leads to the title.
void gallery_enter(Game& game);
void gallery_handle(Game& game, const platform::Message& message);
void gallery_update(Game& game);
void gallery_restore(Game& game);

}  // namespace scenes
