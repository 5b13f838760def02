// A picture slice of the archive: its bytes signed "BM" as extraction does, decoded into a
// sheet the way a scene loads its background, drawn whole and cut into the 48 play tiles.
// A picture that decodes must decode the same with spare bytes after it (a piece's byte range
// may be longer than its file) and, where no colour table or masks can lie in the way, with a
// gap between the headers and the pixels that the data offset skips, as Windows reads it.
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "gfx/bmp.h"
#include "gfx/sprite_sheet.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kOffsetField = 10;
constexpr size_t kGapBytes = 24;

bool same_picture(const gfx::Surface& a, const gfx::Surface& b) {
    return a.width() == b.width() && a.height() == b.height() && a.pixels() == b.pixels();
}

void check_decodes_same(std::span<const uint8_t> bytes, const gfx::Surface& picture) {
    const platform::Result<gfx::Surface> again = gfx::decode_bmp(bytes);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(same_picture(*again, picture));
}

void check_spare_bytes_ignored(std::vector<uint8_t> bytes, const gfx::BmpInfo& info,
                               const gfx::Surface& picture) {
    // Run-length data without an end mark would read on into the spare bytes, as Windows does.
    if (info.compression != gfx::kBiRgb && info.compression != gfx::kBiBitfields) return;
    bytes.resize(bytes.size() + kGapBytes, 0xA5);
    check_decodes_same(bytes, picture);
}

// Only where the pixels start after anything a colour table or masks could need.
void check_gap_skipped(std::vector<uint8_t> bytes, const gfx::BmpInfo& info,
                       const gfx::Surface& picture) {
    const size_t headers = kFileHeaderBytes + info.header_size;
    const bool direct = info.compression == gfx::kBiRgb && info.bits_per_pixel >= 16 &&
                        info.colours_used == 0 && info.data_offset >= headers;
    const bool past_any_table = info.data_offset >= headers + 12 + 4 * 256;
    if (!direct && !past_any_table) return;
    const uint32_t offset = info.data_offset + kGapBytes;
    bytes.insert(bytes.begin() + info.data_offset, kGapBytes, 0xA5);
    std::memcpy(bytes.data() + kOffsetField, &offset, sizeof offset);
    check_decodes_same(bytes, picture);
}

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
    const std::vector<uint8_t> bytes = fuzz::archive_piece(data, size);
    gfx::SpriteSheet sheet;
    if (!sheet.load_picture(bytes)) {
        FUZZ_CHECK(!sheet.has_surface() && sheet.cell_count() == 0);
        return 0;
    }
    const gfx::Surface& picture = *sheet.surface();
    FUZZ_CHECK(!picture.empty());
    FUZZ_CHECK(picture.width() <= gfx::kMaxPictureSide && picture.height() <= gfx::kMaxPictureSide);
    FUZZ_CHECK(picture.pixels().size() ==
               static_cast<size_t>(picture.width()) * static_cast<size_t>(picture.height()));
    FUZZ_CHECK(static_cast<int64_t>(picture.pixels().size()) <= gfx::kMaxPicturePixels);
    FUZZ_CHECK(!picture.color_key());
    const platform::Result<gfx::BmpInfo> info = gfx::read_bmp_info(bytes);
    FUZZ_CHECK(info.ok());
    check_spare_bytes_ignored(bytes, *info, picture);
    check_gap_skipped(bytes, *info, picture);

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
