#pragma once
#include "platform/messages.h"

struct Game;

namespace viewer {

inline constexpr const char* kScriptFile = "vasul.spt";
// The caption panel at (0, 328) and caption line k (1 to 5) at (14, 340 + 23 (k - 1)).
inline constexpr int kPanelY = 328;
inline constexpr int kCaptionX = 14;
inline constexpr int kCaptionY = 340;
inline constexpr int kCaptionStep = 23;
inline constexpr int kViewerCursorCell = 2;

// The viewer's entry: its pictures, and the script's first page run before the first frame.
// It is the restore too: after a lost display the script starts over at the top.
void enter_viewer(Game& game);
void viewer_update(Game& game);
void viewer_handle(Game& game, const platform::Message& message);

}  // namespace viewer
