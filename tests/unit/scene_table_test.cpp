#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game.h"
#include "app/scene.h"
#include "scenes/play_scene.h"
#include "support/test_game.h"

using namespace platform;

namespace {

// Brings a started game into the scene the way the game does, with enough state that a
// restore which loaded too little, or reset too much, would show in the frame.
void enter(TestGame& t, Scene scene) {
    Game& g = *t.game;
    switch (scene) {
        case Play:
            app::change_scene(g, Play);
            break;
        case Gallery:
            g.handover.gallery_score = 65000;
            app::change_scene(g, Gallery);
            break;
        case PictureView:
            g.handover.gallery_choice = 3;
            app::change_scene(g, PictureView);
            break;
        case ScriptViewer:
            t.put_file("vasul.spt",
                       "LOAD_IMAGE1 8\nSHOW_IMAGE1 2\nTEXT1 0001\nWAIT 0\nTEXT1 0002\n");
            app::change_scene(g, ScriptViewer);
            break;
        case NameEntry:
            app::change_scene(g, NameEntry);
            t.click(220, 220);  // the letter A
            break;
        default:
            app::change_scene(g, scene);
            break;
    }
    t.move(300, 215);
    t.passes(2);
}

// What a lost display takes with it: every picture the game holds.
void lose_every_picture(Game& g) {
    g.sheets = Sheets{};
    for (gfx::SpriteSheet& sheet : g.viewer.image_sheet) sheet.unload();
}

class EveryScene : public ::testing::TestWithParam<Scene> {};

TEST_P(EveryScene, RedrawsTheSameFrameAfterALostDisplayAndQuitsOnEscape) {
    TestGame t(true, 0);  // a still clock keeps the play screen's read-outs where they are
    t.start();
    enter(t, GetParam());
    ASSERT_EQ(t.game->current_scene, GetParam());
    const std::vector<uint32_t> before = t.game->back_buffer().pixels();

    lose_every_picture(*t.game);
    t.platform.lose_surfaces(1);
    t.pass();  // the flip reports the loss and the scene restores
    t.game->back_buffer().fill(0x42);
    t.passes(2);  // the flip succeeds, then the scene draws again
    ASSERT_EQ(t.game->current_scene, GetParam());
    EXPECT_TRUE(t.game->back_buffer().pixels() == before) << "the restore reloaded too little";

    t.move(40, 50);
    EXPECT_EQ(t.game->mouse_x, 40);
    EXPECT_EQ(t.game->mouse_y, 50);
    t.send(key_message(kWmKeyDown, kVkEscape));
    EXPECT_EQ(t.game->quit_requested, 1);
    EXPECT_FALSE(t.pass()) << "the quit message ends the loop";
}

INSTANTIATE_TEST_SUITE_P(Scenes, EveryScene,
                         ::testing::Values(Title, Play, Tally, Gallery, PictureView, GameOver,
                                           ScriptViewer, Options, Pause, HighScores, NameEntry,
                                           MusicTest));

}  // namespace
