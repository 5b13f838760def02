#include "scenes/viewer_scene.h"

#include <gtest/gtest.h>

#include <string>

#include "app/game.h"
#include "app/picture_ids.h"
#include "frontend_helpers.h"
#include "gfx/archive.h"
#include "support/fixture_pack.h"
#include "support/test_game.h"

namespace {

constexpr int kViewerItem = 1;
constexpr int kPanelPiece = 7;
constexpr int kIllustrationPiece = 8;
constexpr int kScriptFontPiece = 10;
constexpr int kCursorPiece = 12;

// Enters the viewer from the title with this script, the pointer parked at (600, 300).
void enter(TestGame& t, const std::string& script) {
    t.put_file("vasul.spt", script);
    t.start();
    frontend::click_title_item(t, kViewerItem);
    ASSERT_EQ(t.game->current_scene, ScriptViewer);
    t.move(600, 300);
}

uint32_t background(int x, int y) {
    return fixture::picture_pixel(app::kViewerPicture, x, y);
}
uint32_t illustration(int cell) {
    return fixture::cell_colour(kIllustrationPiece, cell);
}
uint32_t panel() {
    return fixture::cell_colour(kPanelPiece, 0);
}
uint32_t caption_glyph(int code) {
    return fixture::cell_colour(kScriptFontPiece, code);
}

}  // namespace

TEST(ViewerScene, DrawsSlotsPanelCaptionsAndPointerInOrder) {
    TestGame t;
    enter(t,
          "LOAD_IMAGE1 8\nSHOW_IMAGE1 2\nSET_FRAME1 1\n"
          "LOAD_IMAGE2 8\nSHOW_IMAGE2 2\nSET_FRAME2 3\n"
          "TEXT1 00050010\r\nTEXT5 0007\nTEXT3 12\nWAIT 0\n");
    EXPECT_EQ(t.pixel(300, 200), background(300, 200));
    EXPECT_EQ(t.pixel(130, 130), illustration(3)) << "slot 2 covers slot 1 at (100, 100)";
    EXPECT_EQ(t.pixel(99, 99), background(99, 99));
    EXPECT_EQ(t.pixel(20, 20), fixture::cell_colour(gfx::kBackButtonPiece, 0));
    EXPECT_EQ(t.pixel(300, 330), panel());
    EXPECT_EQ(t.pixel(15, 341), caption_glyph(5));
    EXPECT_EQ(t.pixel(21, 341), caption_glyph(10));
    EXPECT_EQ(t.pixel(27, 341), panel()) << "the CR after the codes draws nothing";
    EXPECT_EQ(t.pixel(15, 387), panel()) << "a caption shorter than four bytes";
    EXPECT_EQ(t.pixel(15, 433), caption_glyph(7));
    EXPECT_EQ(t.pixel(600, 300), fixture::cell_colour(kCursorPiece, 2));
}

TEST(ViewerScene, PlacementsOneAndThreeShareTheCorner) {
    for (const char* placement : {"1", "3"}) {
        SCOPED_TRACE(placement);
        TestGame t;
        enter(t, std::string("LOAD_IMAGE1 8\nSET_FRAME1 2\nSHOW_IMAGE1 ") + placement + "\n");
        EXPECT_EQ(t.pixel(5, 40), illustration(2));
        EXPECT_EQ(t.pixel(59, 59), illustration(2));
        EXPECT_EQ(t.pixel(60, 60), background(60, 60));
    }
}

// Numbers beyond the tables draw nothing and load nothing, and read nothing outside them.
TEST(ViewerScene, ValuesBeyondTheTablesDrawNothing) {
    const char* const scripts[] = {
        "LOAD_IMAGE1 13\nSHOW_IMAGE1 1\n",
        "LOAD_IMAGE1 -1\nSHOW_IMAGE1 1\n",
        "LOAD_IMAGE1 8\nSHOW_IMAGE1 4\n",
        "LOAD_IMAGE1 8\nSHOW_IMAGE1 -1\n",
        "LOAD_IMAGE1 8\nSHOW_IMAGE1 1\nSET_FRAME1 4\n",
        "LOAD_IMAGE1 8\nSHOW_IMAGE1 1\nSET_FRAME1 -1\n",
        "SHOW_IMAGE2 1\nSET_FRAME2 0\n",  // a slot that never had a picture
        "LOAD_IMAGE1 8\nSHOW_IMAGE1 1\nLOAD_IMAGE1 99\n",
        "TEXT1 01279999-001\n",  // glyph codes the caption font lacks
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        TestGame t;
        enter(t, script);
        EXPECT_EQ(t.pixel(5, 40), background(5, 40));
        EXPECT_EQ(t.pixel(15, 341), panel());
    }
}

TEST(ViewerScene, BackButtonIsStrictAndBeatsPaging) {
    TestGame t;
    enter(t,
          "WAIT 0\nTEXT1 0001\nWAIT 0\nTEXT1 0002\nWAIT 0\nTEXT1 0003\nWAIT 0\n"
          "TEXT1 0004\nWAIT 0\nTEXT1 0005\nWAIT 0\n");
    const std::pair<int, int> borders[] = {{10, 20}, {57, 20}, {30, 10}, {30, 33}};
    int page = 0;
    for (auto [x, y] : borders) {
        t.click(x, y);
        ASSERT_EQ(t.game->current_scene, ScriptViewer) << x << "," << y;
        EXPECT_EQ(t.game->viewer.caption[0], "000" + std::to_string(++page));
    }
    t.key(platform::kVkSpace);
    t.right_click(30, 20);  // the right button leaves from over the button too
    EXPECT_EQ(t.game->current_scene, Title);
    EXPECT_EQ(t.game->back_button_hot, 0);

    frontend::click_title_item(t, kViewerItem);
    ASSERT_EQ(t.game->current_scene, ScriptViewer);
    EXPECT_EQ(t.game->script.resume_line, 1);
    t.move(11, 11);
    EXPECT_EQ(t.pixel(40, 25), fixture::cell_colour(gfx::kBackButtonPiece, 1));
    t.click(11, 11);
    EXPECT_EQ(t.game->current_scene, Title);
    EXPECT_EQ(t.game->viewer.caption[0], "0004") << "leaving ran no page";
}

TEST(ViewerScene, RestoreReloadsPicturesAndStartsTheScriptOver) {
    TestGame t;
    enter(t, "TEXT1 0001\nWAIT 0\nTEXT1 0002\nWAIT 0\n");
    t.click(500, 200);
    EXPECT_EQ(t.game->viewer.caption[0], "0002");
    t.game->sheets.screen_picture.unload();
    t.game->sheets.caption_panel_sheet.unload();
    t.platform.lose_surfaces(1);
    t.passes(2);
    EXPECT_EQ(t.game->viewer.caption[0], "0001");
    EXPECT_EQ(t.game->script.resume_line, 2);
    EXPECT_EQ(t.pixel(300, 200), background(300, 200));
    EXPECT_EQ(t.pixel(300, 330), panel());
}
