// A picture slice of the archive: its bytes signed "BM" as extraction does, decoded into a
// sheet the way a scene loads its background, drawn whole and cut into the 48 play tiles.
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "gfx/sprite_sheet.h"

namespace {

// Where a picture at least as large as the screen lands, its top-left 640 x 480 must be.
void check_whole_picture(const gfx::Surface& picture, const gfx::Surface& screen) {
    if (picture.width() < screen.width() || picture.height() < screen.height()) return;
    const size_t row_bytes = static_cast<size_t>(screen.width()) * sizeof(uint32_t);
    for (int y = 0; y < screen.height(); ++y) {
        FUZZ_CHECK(std::memcmp(screen.row(y), picture.row(y), row_bytes) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    if (bytes.size() >= 2) {
        bytes[0] = 'B';
        bytes[1] = 'M';
    }
    gfx::SpriteSheet sheet;
    if (!sheet.load_picture(bytes, "image/data.bmp picture 0")) {
        FUZZ_CHECK(!sheet.has_surface() && sheet.cell_count() == 0);
        return 0;
    }
    const gfx::Surface& picture = *sheet.surface();
    FUZZ_CHECK(!picture.empty());
    FUZZ_CHECK(picture.pixels().size() ==
               static_cast<size_t>(picture.width()) * static_cast<size_t>(picture.height()));
    FUZZ_CHECK(!picture.color_key());

    static gfx::Surface screen(640, 480);
    sheet.blit_picture(screen, 640, 480);
    check_whole_picture(picture, screen);

    // Play cuts the picture into tiles and scatters them, some across the screen's edges.
    sheet.make_tile_grid();
    FUZZ_CHECK(sheet.cell_count() == 48);
    for (int i = 0; i < sheet.cell_count(); ++i) {
        const int x = (i * 97) % 720 - 40;
        const int y = (i * 61) % 560 - 40;
        sheet.draw_cell(screen, x, y, i, false);
    }
    return 0;
}
