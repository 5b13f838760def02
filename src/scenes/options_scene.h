#pragma once
#include <array>

#include "app/hit_test.h"
#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace scenes {

// The eleven controls in the order the pointer is tested against them.
enum OptionControl : int {
    kBgmSwitch,
    kBgmDown,
    kBgmUp,
    kSeSwitch,
    kSeDown,
    kSeUp,
    kFpsSwitch,
    kLvlLeft,
    kLvlRight,
    kPicturesGame,
    kPicturesYours,
};

inline constexpr std::array<gfx::Rect, 11> kOptionControls = {{
    app::hit_area(341, 110, 47, 23),
    app::hit_area(327, 156, 23, 23),
    app::hit_area(380, 156, 23, 23),
    app::hit_area(341, 202, 47, 23),
    app::hit_area(327, 248, 23, 23),
    app::hit_area(380, 248, 23, 23),
    app::hit_area(341, 294, 47, 23),
    app::hit_area(327, 340, 23, 23),
    app::hit_area(460, 340, 23, 23),
    app::hit_area(327, 386, 23, 23),
    app::hit_area(460, 386, 23, 23),
}};

// Labels start at 240 and values at 357, one row every 46 pixels. "PICTURES:" is longer than
// the other labels: it ends where the values' column begins, before its arrow.
inline constexpr int kOptionLabelX = 240;
inline constexpr int kOptionValueX = 357;
inline constexpr int kBgmY = 110, kBgmVolumeY = 156, kSeY = 202, kSeVolumeY = 248, kFpsY = 294,
                     kLvlY = 340, kPicturesY = 386;
inline constexpr const char* kPicturesLabel = "PICTURES:";
inline constexpr int kPicturesLabelEnd = 320;

struct OptionsState {
    Lit lit;
    int usable_pictures = 0;  // in the player's folder, as last counted
    int counted_drops = -1;   // the drops seen when they were counted; -1: count on entry
};

void options_enter(Game& game);
void options_handle(Game& game, const platform::Message& message);
void options_update(Game& game);
void options_restore(Game& game);

}  // namespace scenes
