#pragma once
#include <array>

#include "platform/messages.h"

struct Game;

namespace scenes {

inline constexpr std::array<int, 8> kGalleryThresholds = {10000, 15000, 20000, 30000,
                                                          40000, 50000, 60000, 65000};

struct GalleryState {
    std::array<bool, 8> thumb_hot{};
    std::array<bool, 8> thumb_open{};
    int thumb_choice = 0;
};

// The gallery's picture and the thumbnails, loaded again on every way in.
void gallery_enter(Game& game);
void gallery_handle(Game& game, const platform::Message& message);
void gallery_update(Game& game);
void gallery_restore(Game& game);

}  // namespace scenes
