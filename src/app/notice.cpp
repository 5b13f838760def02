#include "app/notice.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "gfx/text.h"

namespace app {

namespace {

constexpr size_t kMostRefusals = 3;
constexpr int kLineHeight = 24;
constexpr int kMargin = 8;

// The line as much as fits across the screen, ending in "..." when it was cut.
std::string fitted_line(std::string line, const gfx::SpriteSheet& font, int width) {
    if (font.text_width(line) <= width) return line;
    while (!line.empty() && font.text_width(line + "...") > width) line.pop_back();
    return line + "...";
}

}  // namespace

std::string font_text(std::string_view text) {
    std::string out;
    for (char c : text) {
        // A character of several bytes is one space.
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;
        const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        out.push_back(gfx::has_glyph(up) ? up : (up == '_' ? '-' : ' '));
    }
    return out;
}

Notice import_notice(const pictures::ImportReport& report, uint32_t now) {
    Notice notice;
    notice.shown_at = now;
    const int taken = report.taken;
    notice.lines.push_back(taken == 0   ? "NO PICTURE TAKEN"
                           : taken == 1 ? "1 PICTURE TAKEN"
                                        : std::to_string(taken) + " PICTURES TAKEN");
    const size_t shown = std::min(report.refused.size(), kMostRefusals);
    for (size_t i = 0; i < shown; ++i)
        notice.lines.push_back(font_text(report.refused[i].headline()));
    if (report.refused.size() > shown)
        notice.lines.push_back("AND " + std::to_string(report.refused.size() - shown) +
                               " MORE REFUSED");
    return notice;
}

bool draw_notice(const Notice& notice, const gfx::SpriteSheet& font, gfx::Surface& target,
                 uint32_t now) {
    if (notice.lines.empty() || now - notice.shown_at >= kNoticeMs) return false;
    const int height = static_cast<int>(notice.lines.size()) * kLineHeight + 2 * kMargin;
    const int top = target.height() - height;
    // A quarter of the picture shows through, so the lines read over any screen.
    for (int y = std::max(top, 0); y < target.height(); ++y) {
        uint32_t* row = target.row(y);
        for (int x = 0; x < target.width(); ++x) row[x] = (row[x] >> 2) & 0x3F3F3Fu;
    }
    int y = top + kMargin;
    for (const std::string& text : notice.lines) {
        const std::string line = fitted_line(text, font, target.width() - 2 * kMargin);
        const int x = std::max(0, (target.width() - font.text_width(line)) / 2);
        font.draw_text(target, x, y, line, true);
        y += kLineHeight;
    }
    return true;
}

}  // namespace app
