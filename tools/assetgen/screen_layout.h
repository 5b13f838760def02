#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/picture_ids.h"
#include "gfx/surface.h"

// Where the game draws its texts on the front-end screens, and the panels the generator paints
// to frame them: one account that the painting and the pack's tests share. The texts' places
// are the scenes' own constants; the panels are chosen here to hold them.
namespace assetgen {

// The panels, as left, top, right and bottom. The tally's panel also frames name entry, which
// the game draws on the tally's picture.
inline constexpr gfx::Rect kOptionsPanel = {168, 94, 512, 424};
inline constexpr gfx::Rect kHighScoresPanel = {140, 94, 414, 418};
inline constexpr gfx::Rect kTallyPanel = {150, 100, 610, 440};
inline constexpr gfx::Rect kTimeUpPanel = {62, 210, 446, 272};
inline constexpr gfx::Rect kPausePanel = {62, 184, 426, 268};
inline constexpr gfx::Rect kMusicTestPanel = {100, 96, 540, 292};

// Two engraved rules across the tally's panel, in the bands both of its screens leave free: on
// the tally they close the figures and offers above and below; on name entry they set the name
// entered so far above the letters, and the way on below them.
inline constexpr std::array<int, 2> kTallyRules = {160, 376};

// A text the game draws at a fixed place, at its widest ("88888" for a five-digit counter,
// "WWW" for a name), on one of the picture archive's screens.
struct FixedText {
    int picture;
    gfx::Rect box;
    std::string text;
};

// The panel drawn for a screen's texts, by picture number; an empty rectangle for a screen
// without one.
gfx::Rect text_panel(int picture);

// Every fixed text of the screens with panels, measured with the game font's glyph widths
// (in glyph order, as game_font_widths gives them).
std::vector<FixedText> fixed_texts(const std::vector<int>& glyph_widths);

// The width the game's font gives a text: the sum of its glyph cells.
int game_text_width(const std::vector<int>& glyph_widths, std::string_view text);

}  // namespace assetgen
