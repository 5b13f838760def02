#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

// The how-to-play script, vasul.spt: pages of captions over the illustrations of piece 8.
namespace assetgen {

// A caption as the viewer reads it: four decimal digits per glyph, the glyph code being
// the character's ASCII code.
std::string code_text(std::string_view text);

// The script, checked against the viewer's limits (150 lines, 4095 bytes) and against the
// width of a caption line (the caption font's cell widths by code); TooLarge, naming the
// line or the size, when it does not fit.
platform::Result<std::string> build_viewer_script(const std::vector<int>& glyph_widths);

// The widest caption, in pixels, that fits the panel from x 14 to the screen's edge.
inline constexpr int kCaptionMaxWidth = 640 - 14 - 4;

}  // namespace assetgen
