// A sheet piece of the archive: its bytes signed "BM", decoded and scanned for rulers and
// markers into cells, then every cell drawn keyed the way the scenes draw sprites.
#include <algorithm>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "gfx/sprite_sheet.h"

namespace {

// Pixels compared per input at most, so a sheet of huge cells stays fast to check.
constexpr long kPixelBudget = 1 << 20;
constexpr uint32_t kBackground = 0x00123456u;

void check_cell_geometry(const gfx::SpriteCell& c, int width, int height) {
    FUZZ_CHECK(0 <= c.source.left && c.source.left <= c.source.right && c.source.right <= width);
    FUZZ_CHECK(0 <= c.source.top && c.source.top <= c.source.bottom && c.source.bottom <= height);
    FUZZ_CHECK(c.placement == c.source.offset(-c.anchor.x, -c.anchor.y));
}

// Draws the cell keyed with its sprite's top-left at the screen's origin: every pixel of the
// grid colour must leave the screen as it was, every other pixel must be copied. Returns the
// number of pixels compared.
long check_keyed_draw(gfx::SpriteSheet& sheet, int i, gfx::Surface& screen, uint32_t grid) {
    const gfx::SpriteCell& c = *sheet.cell(i);
    const gfx::Surface& picture = *sheet.surface();
    const int w = std::min(c.source.width(), screen.width());
    const int h = std::min(c.source.height(), screen.height());
    for (int y = 0; y < h; ++y) std::fill_n(screen.row(y), w, kBackground);
    sheet.draw_cell(screen, -c.placement.left, -c.placement.top, i, true);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t src = picture.pixel(c.source.left + x, c.source.top + y);
            const uint32_t want = (src & 0xFFFFFFu) == grid ? kBackground : src;
            FUZZ_CHECK(screen.pixel(x, y) == want);
        }
    }
    return static_cast<long>(w) * h + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = fuzz::archive_piece(data, size);
    gfx::SpriteSheet sheet;
    if (!sheet.load_sheet(bytes)) {
        FUZZ_CHECK(!sheet.has_surface() && sheet.cell_count() == 0);
        return 0;
    }
    const gfx::Surface& picture = *sheet.surface();
    FUZZ_CHECK(picture.width() >= 2 && picture.height() >= 2);
    FUZZ_CHECK(sheet.cell_count() > 0 &&
               static_cast<size_t>(sheet.cell_count()) <= gfx::kMaxSheetCells);
    for (const gfx::SpriteCell& c : sheet.cells()) {
        check_cell_geometry(c, picture.width(), picture.height());
    }

    // The grid colour of the top-right pixel is what a keyed draw leaves out.
    const uint32_t grid = picture.pixel(picture.width() - 1, 0) & 0xFFFFFFu;
    static gfx::Surface screen(640, 480);
    long budget = kPixelBudget;
    for (int i = 0; i < sheet.cell_count() && budget > 0; ++i) {
        budget -= check_keyed_draw(sheet, i, screen, grid);
    }
    // Fonts come from such sheets too; texts may name cells the sheet lacks.
    sheet.draw_text(screen, 5, 300, "SCORE 00120 HARD?", true);
    sheet.draw_code_text(screen, 5, 400, "0000000100020049012799991234", true);
    sheet.draw_cell(screen, 0, 0, sheet.cell_count(), true);
    sheet.draw_cell(screen, 0, 0, -1, true);
    return 0;
}
