#include "gfx/sprite_sheet.h"

#include <gtest/gtest.h>

#include "gfx/bmp.h"
#include "packwriter/packwriter.h"
#include "support/results.h"

namespace {

constexpr uint32_t G = 0xFF00FF;  // grid
constexpr uint32_t A = 0x00FF00;  // anchor
constexpr uint32_t D = 0x0000FF;  // bound
constexpr uint32_t E = 0xFFFF00;  // anchor and bound
constexpr uint32_t N = 0x404040;  // nothing

// A hand-drawn sheet: key colours in the last column, rulers at the given places.
gfx::Surface blank_sheet(int w, int h, std::initializer_list<int> xs,
                         std::initializer_list<int> ys) {
    gfx::Surface s(w, h, N);
    for (int x : xs) s.set_pixel(x, 0, G);
    for (int y : ys) s.set_pixel(0, y, G);
    s.set_pixel(w - 1, 0, G);
    s.set_pixel(w - 1, 2, A);
    s.set_pixel(w - 1, 3, D);
    s.set_pixel(w - 1, 4, E);
    return s;
}

gfx::SpriteSheet load(gfx::Surface s) {
    gfx::SpriteSheet sheet;
    static_cast<void>(sheet.load_sheet(std::move(s)));  // each test looks at what loaded
    return sheet;
}

}  // namespace

TEST(MarkedSheet, RulersMakeCellsNumberedRowByRow) {
    auto sheet = load(blank_sheet(100, 31, {0, 40, 99}, {0, 30}));
    ASSERT_EQ(sheet.cell_count(), 2);
    EXPECT_EQ(sheet.cells()[0].source, (gfx::Rect{1, 1, 40, 30}));
    EXPECT_EQ(sheet.cells()[1].source, (gfx::Rect{41, 1, 99, 30}));
}

TEST(MarkedSheet, BoundAndAnchorMarks) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, uint32_t>> row_marks;  // x on ruler row 0
        gfx::Rect expected_x;                             // only left/right used
        int anchor_x;
    };
    const Case cases[] = {
        {"no marks: whole space between rulers", {}, {1, 0, 40, 0}, 1},
        {"two bounds", {{5, D}, {9, D}}, {5, 0, 10, 0}, 5},
        {"single bound is one pixel wide", {{7, D}}, {7, 0, 8, 0}, 7},
        {"bound on x1-1 found only by the right scan", {{39, D}}, {1, 0, 40, 0}, 1},
        {"E counts as anchor and bound", {{3, E}, {12, D}}, {3, 0, 13, 0}, 3},
        {"anchor apart from bounds", {{2, D}, {6, A}, {20, D}}, {2, 0, 21, 0}, 6},
    };
    for (const Case& c : cases) {
        auto s = blank_sheet(100, 31, {0, 40, 99}, {0, 30});
        for (auto [x, colour] : c.row_marks) s.set_pixel(x, 0, colour);
        auto sheet = load(std::move(s));
        ASSERT_EQ(sheet.cell_count(), 2) << c.what;
        const auto& cell = sheet.cells()[0];
        EXPECT_EQ(cell.source.left, c.expected_x.left) << c.what;
        EXPECT_EQ(cell.source.right, c.expected_x.right) << c.what;
        EXPECT_EQ(cell.anchor.x, c.anchor_x) << c.what;
        EXPECT_EQ(cell.placement, cell.source.offset(-cell.anchor.x, -cell.anchor.y)) << c.what;
    }
}

TEST(MarkedSheet, ColumnMarksGiveTopBottomAndAnchorY) {
    auto s = blank_sheet(100, 31, {0, 40, 99}, {0, 30});
    s.set_pixel(0, 4, D);
    s.set_pixel(0, 10, A);
    s.set_pixel(0, 20, D);
    auto sheet = load(std::move(s));
    const auto& cell = sheet.cells()[0];
    EXPECT_EQ(cell.source.top, 4);
    EXPECT_EQ(cell.source.bottom, 21);
    EXPECT_EQ(cell.anchor.y, 10);
    // The second cell's left ruler is x 40 and holds no marks: whole height.
    EXPECT_EQ(sheet.cells()[1].source.top, 1);
    EXPECT_EQ(sheet.cells()[1].source.bottom, 30);
}

TEST(MarkedSheet, FewerThanTwoRulersLeavesTheSheetEmpty) {
    gfx::Surface s(50, 20, N);  // only (49, 0) is the grid colour: one ruler each way
    s.set_pixel(49, 0, G);
    auto sheet = load(std::move(s));
    EXPECT_EQ(sheet.cell_count(), 0);
    EXPECT_FALSE(sheet.has_surface());
    gfx::Surface target(10, 10, 7);
    sheet.draw_cell(target, 0, 0, 0, true);
    EXPECT_EQ(target.pixel(0, 0), 7u);
}

TEST(MarkedSheet, ComposedSheetsLoadBackExactly) {
    std::vector<std::vector<pack::SheetCell>> rows(2);
    rows[0].push_back({gfx::Surface(5, 7, 0x112233), {2, 9}});  // anchor below the sprite
    rows[0].push_back({gfx::Surface(1, 1, 0x445566), {0, 0}});
    rows[1].push_back({gfx::Surface(12, 3, 0x778899), {-3, 1}});  // anchor left of it
    auto sheet = load(pack::compose_sheet(rows));
    ASSERT_EQ(sheet.cell_count(), 4);
    EXPECT_EQ(sheet.cells()[0].source.width(), 5);
    EXPECT_EQ(sheet.cells()[0].source.height(), 7);
    EXPECT_EQ(sheet.cells()[0].placement, (gfx::Rect{-2, -9, 3, -2}));
    EXPECT_EQ(sheet.cells()[1].source.width(), 1);
    EXPECT_EQ(sheet.cells()[2].placement, (gfx::Rect{3, -1, 15, 2}));
    gfx::Surface target(30, 30, 0);
    sheet.draw_cell(target, 10, 10, 2, true);
    EXPECT_EQ(target.pixel(13, 9), 0x778899u);
    EXPECT_EQ(target.pixel(12, 9), 0u);
}

TEST(Blit, GridColourIsTransparentOnlyWhenKeyed) {
    std::vector<std::vector<pack::SheetCell>> rows(1);
    gfx::Surface sprite(3, 1, 0xABCDEF);
    sprite.set_pixel(1, 0, G);
    rows[0].push_back({sprite, {0, 0}});
    auto sheet = load(pack::compose_sheet(rows));
    gfx::Surface target(5, 5, 1);
    sheet.draw_cell(target, 0, 0, 0, true);
    EXPECT_EQ(target.pixel(1, 0), 1u);
    sheet.draw_cell(target, 0, 0, 0, false);
    EXPECT_EQ(target.pixel(1, 0), G);
    EXPECT_EQ(target.pixel(0, 0), 0xABCDEFu);
}

TEST(Blit, ClipsAtEveryEdgeAndCutsTheSourceAlike) {
    gfx::Surface src(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src.set_pixel(x, y, static_cast<uint32_t>(10 * y + x + 1));
    struct Case {
        int dx, dy;
        int probe_x, probe_y;  // a target pixel
        uint32_t expected;     // what lands there (0: untouched)
    };
    const Case cases[] = {
        {-2, 0, 0, 0, 3},    // left edge: source column 2 lands on x 0
        {0, -3, 0, 0, 31},   // top edge
        {8, 0, 9, 3, 32},    // right edge: columns 0-1 visible
        {0, 8, 3, 9, 14},    // bottom edge: rows 0-1 visible
        {-4, 0, 0, 0, 0},    // wholly off the left: nothing
        {10, 10, 9, 9, 0},   // wholly off the bottom right
        {-1, -1, 2, 2, 34},  // top-left corner
    };
    for (const Case& c : cases) {
        gfx::Surface dst(10, 10, 0);
        gfx::blit(dst, c.dx, c.dy, src, {0, 0, 4, 4}, false);
        EXPECT_EQ(dst.pixel(c.probe_x, c.probe_y), c.expected) << c.dx << "," << c.dy;
    }
    gfx::Surface dst(10, 10, 0);
    EXPECT_FALSE(gfx::blit(dst, 0, 0, src, {2, 2, 6, 6}, false)) << "source past its surface";
}

TEST(Blit, PictureAsWideAsTheTargetLandsRowForRow) {
    // Seven wide: a copy that moved pixels in groups of four would leave some behind.
    gfx::Surface src(7, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x) src.set_pixel(x, y, static_cast<uint32_t>(10 * y + x + 1));
    gfx::Surface dst(7, 5, 0);
    // Source rows 1 to 5 from target row 2: rows 1 to 3 fit, the rest is cut at the bottom.
    EXPECT_TRUE(gfx::blit(dst, 0, 2, src, {0, 1, 7, 6}, false));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(dst.pixel(x, y), y < 2 ? 0u : src.pixel(x, y - 1)) << x << "," << y;
    // Narrower than the target, row by row: the pixels beside it stay.
    gfx::Surface wide(9, 3, 0);
    EXPECT_TRUE(gfx::blit(wide, 1, 1, src, {0, 4, 7, 6}, false));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool inside = y >= 1 && x >= 1 && x <= 7;
            EXPECT_EQ(wide.pixel(x, y), inside ? src.pixel(x - 1, y + 3) : 0u) << x << "," << y;
        }
}

TEST(TileGrid, CellsRunColumnByColumn) {
    gfx::SpriteSheet sheet;
    sheet.load_picture(gfx::Surface(640, 480));
    sheet.make_tile_grid();
    ASSERT_EQ(sheet.cell_count(), 48);
    EXPECT_EQ(sheet.cells()[7].source, (gfx::Rect{80, 80, 160, 160}));
    EXPECT_EQ(sheet.cells()[5].source, (gfx::Rect{0, 400, 80, 480}));
    EXPECT_EQ(sheet.cells()[47].source, (gfx::Rect{560, 400, 640, 480}));
    EXPECT_EQ(sheet.cells()[7].placement, (gfx::Rect{0, 0, 80, 80}));
}

TEST(SpriteSheet, DrawCellDrawsAcrossTheEdgeAndIgnoresBadIndexes) {
    gfx::SpriteSheet sheet;
    sheet.load_picture(gfx::Surface(640, 480, 9));
    sheet.make_tile_grid();
    gfx::Surface target(640, 480, 0);
    sheet.draw_cell(target, -30, 470, 3, false);
    EXPECT_EQ(target.pixel(0, 479), 9u);
    sheet.draw_cell(target, 0, 0, 48, false);
    sheet.draw_cell(target, 0, 0, -1, false);
    EXPECT_EQ(target.pixel(0, 0), 0u);
}

TEST(ColorToPixel, ScalesEachChannelIntoItsMask) {
    EXPECT_EQ(gfx::color_to_pixel(gfx::rgb(0x12, 0x34, 0x56), {}), 0x123456u);
    const gfx::PixelFormat rgb565{0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(gfx::color_to_pixel(gfx::rgb(255, 255, 255), rgb565), 0xFFFFu);
    EXPECT_EQ(gfx::color_to_pixel(gfx::rgb(255, 0, 0), rgb565), 0xF800u);
}

// The key is the grid colour itself, whatever its channels; a key built with red and blue
// swapped leaves the grid opaque around every sprite unless the grid colour is symmetric.
TEST(MarkedSheet, TheGridColourIsTheKeyForEveryColour) {
    const gfx::ColorRef grids[] = {gfx::rgb(255, 0, 255), gfx::rgb(255, 0, 0),
                                   gfx::rgb(0, 0, 255),   gfx::rgb(0x12, 0x34, 0x56),
                                   gfx::rgb(0, 255, 128), gfx::rgb(1, 2, 3)};
    for (gfx::ColorRef grid : grids) {
        pack::MarkerColours colours;
        colours.grid = grid;
        colours.bound = gfx::rgb(0x20, 0x40, 0x60);
        const uint32_t grid_pixel = gfx::color_to_pixel(grid, {});
        gfx::Surface sprite(3, 2, 0xABCDEF);
        sprite.set_pixel(1, 0, grid_pixel);
        std::vector<std::vector<pack::SheetCell>> rows(1);
        rows[0].push_back({sprite, {0, 0}});
        auto sheet = load(pack::compose_sheet(rows, colours));
        ASSERT_EQ(sheet.cell_count(), 1) << std::hex << grid;
        EXPECT_EQ(sheet.surface()->color_key(), grid_pixel) << std::hex << grid;
        gfx::Surface target(5, 5, 1);
        sheet.draw_cell(target, 0, 0, 0, true);
        EXPECT_EQ(target.pixel(1, 0), 1u) << "grid pixel inside the sprite " << std::hex << grid;
        EXPECT_EQ(target.pixel(0, 0), 0xABCDEFu) << std::hex << grid;
    }
}

// A sheet whose every top-row and left-column pixel is a ruler: one cell per pixel pair.
TEST(MarkedSheet, MoreCellsThanTheCapAreRefused) {
    struct Case {
        int rulers_x, rulers_y;
        bool loads;
    };
    const Case cases[] = {{101, 101, true}, {102, 101, false}, {2048, 6, false}};
    for (const Case& c : cases) {
        gfx::Surface s(c.rulers_x, c.rulers_y, N);
        for (int x = 0; x < c.rulers_x; ++x) s.set_pixel(x, 0, G);
        for (int y = 0; y < c.rulers_y; ++y) s.set_pixel(0, y, G);
        const auto cells = gfx::scan_marked_cells(s);
        const std::string why = why_not(cells);
        EXPECT_EQ(cells.ok(), c.loads) << c.rulers_x << " x " << c.rulers_y;
        if (cells) {
            EXPECT_EQ(cells->size(), gfx::kMaxSheetCells);
        }
        if (!c.loads) {
            EXPECT_NE(why.find("more cells"), std::string::npos) << why;
        }
    }
}
