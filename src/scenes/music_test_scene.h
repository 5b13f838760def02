#pragma once
#include <array>

#include "app/hit_test.h"
#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace scenes {

// The six controls in the order the pointer is tested against them.
enum MusicControl : int { kPrevTrack, kNextTrack, kPlaySwitch, kLoopSwitch, kVolDown, kVolUp };

inline constexpr std::array<gfx::Rect, 6> kMusicControls = {{
    app::hit_area(120, 110, 23, 23),
    app::hit_area(497, 110, 23, 23),
    app::hit_area(341, 156, 47, 23),
    app::hit_area(341, 202, 47, 23),
    app::hit_area(327, 248, 23, 23),
    app::hit_area(380, 248, 23, 23),
}};

// The track's number is a cell of the stage numbers (60 x 40) between its arrows; the rows
// below have their labels at 240 and the volume at 357.
inline constexpr int kTrackNumberX = 160, kTrackNumberY = 110;
inline constexpr int kMusicLabelX = 240;
inline constexpr int kMusicValueX = 357;
inline constexpr int kPlayY = 156, kLoopY = 202, kMusicVolumeY = 248;

struct MusicTestView {
    Lit lit;
};

void music_test_enter(Game& game);
void music_test_handle(Game& game, const platform::Message& message);
void music_test_update(Game& game);
void music_test_restore(Game& game);
void music_test_leave(Game& game);

}  // namespace scenes
