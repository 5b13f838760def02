#include "app/pictures.h"

#include <gtest/gtest.h>

#include <fstream>

#include "gfx/archive.h"
#include "gfx/bmp.h"
#include "support/test_game.h"

namespace {

// A one-colour 1-bit picture: every pixel is the grid colour, so as a marked sheet every
// pixel of its top row and left column is a ruler.
std::vector<uint8_t> one_colour_bmp(int w, int h) {
    const uint32_t stride = (static_cast<uint32_t>(w) + 31) / 32 * 4;
    std::vector<uint8_t> bytes(62 + stride * static_cast<uint32_t>(h), 0);
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    bytes[0] = 'B', bytes[1] = 'M';
    put(10, 62), put(14, 40), put(18, static_cast<uint32_t>(w)), put(22, static_cast<uint32_t>(h));
    bytes[26] = 1, bytes[28] = 1;
    put(54, 0xFF00FF);  // colour 0; colour 1 stays black
    return bytes;
}

void write_at(const std::filesystem::path& file, uint64_t at, const std::vector<uint8_t>& bytes) {
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(at));
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(Pictures, ASheetWithTooManyCellsIsRefusedNamingItsPiece) {
    TestGame t(TestGame::Pack::OnDisk);
    const auto piece = gfx::kPieceTable[gfx::kMarksPiece];
    const auto crafted = one_colour_bmp(1024, 768);  // 784,000 cells, and it fits the range
    ASSERT_LE(crafted.size(), piece.size());
    write_at(t.dir / gfx::kSheetArchive, piece.first, crafted);
    gfx::SpriteSheet sheet;
    testing::internal::CaptureStderr();
    app::load_piece(*t.game, sheet, gfx::kMarksPiece);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(sheet.cell_count(), 0);
    EXPECT_FALSE(sheet.has_surface());
    EXPECT_NE(said.find("image/dat2.bmp piece 3 has more cells"), std::string::npos) << said;
}

// A picture archive sparse on disk whose slices are longer than any picture: each would be
// read whole before the decoder looked at it.
TEST(Pictures, SlicesLongerThanAnyPictureAreNotRead) {
    TestGame t(TestGame::Pack::OnDisk);
    const auto archive = t.dir / gfx::kPictureArchive;
    const uint64_t slice = 9u << 20;
    std::filesystem::resize_file(archive, slice * gfx::kPictureCount);
    write_at(archive, 0, gfx::encode_bmp24(gfx::Surface(640, 480, 0x102030)));
    testing::internal::CaptureStderr();
    app::load_screen_picture(*t.game, 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(t.game->sheets.screen_picture.has_surface());
    EXPECT_NE(said.find("image/data.bmp picture 0 is longer"), std::string::npos) << said;
}
