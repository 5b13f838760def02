#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/sprite_sheet.h"
#include "gfx/surface.h"
#include "pictures/picture_folder.h"

// A few lines the game shows over any screen for a while: what a drop of pictures did.
namespace app {

struct Notice {
    std::vector<std::string> lines;  // in the game font's characters
    uint32_t shown_at = 0;           // the clock when it appeared
};

inline constexpr uint32_t kNoticeMs = 5000;

// How many pictures the drop took, then each refused file with its reason; a long list ends
// with how many more there were.
Notice import_notice(const pictures::ImportReport& report, uint32_t now);

// Text as the game font can draw it: capitals, digits and its few signs; anything else is a
// space, so a file's name never draws as a row of wrong glyphs.
std::string font_text(std::string_view text);

// Draws the notice in a darkened band at the foot of the screen while it lasts; false once it
// is over.
bool draw_notice(const Notice& notice, const gfx::SpriteSheet& font, gfx::Surface& target,
                 uint32_t now);

}  // namespace app
