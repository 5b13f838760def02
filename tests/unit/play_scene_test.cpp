#include "scenes/play_scene.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "puzzle_helpers.h"
#include "rules/board.h"
#include "support/fixture_pack.h"
#include "support/test_game.h"

namespace {

using namespace puzzle;
using namespace rules;
using namespace platform;
using namespace puzzle_test;

constexpr uint32_t kCover = 0;  // cover sheet cell

class PlayScene : public ::testing::Test {
  protected:
    void SetUp() override {
        t.start(5);
        g.sound.enabled = {true, true};
        app::change_scene(g, Play);
        clear_board(g);
        s.hidden_piece = 47;
        s.marks = {{{0, 400}, {80, 400}, {160, 400}, {240, 400}}};
        t.pass();
    }
    // Moves the clock on by ms and runs one pass.
    void advance(uint32_t ms) {
        now += ms;
        t.platform.set_ticks(now);
        t.pass();
    }
    void press(uint32_t id, int x, int y) { t.send(mouse_message(id, x, y)); }
    void key(uint32_t id, uint32_t vk) { t.send(key_message(id, vk)); }
    uint32_t board(int x, int y) { return fixture::picture_pixel(9, x, y); }
    const std::vector<std::string>& audio_log() { return t.platform.headless_audio().log(); }

    TestGame t{true, 0};  // the clock moves only when a test moves it
    Game& g = *t.game;
    GameState& s = g.state;
    uint32_t now = 0;
};

TEST_F(PlayScene, TheTitlesFirstItemStartsStageOneOnTheBoard) {
    TestGame fresh;
    fresh.start(9);
    fresh.game->sound.enabled = {true, true};
    fresh.platform.headless_audio().clear_log();
    fresh.click(300, 150);
    Game& f = *fresh.game;
    ASSERT_EQ(f.current_scene, Play);
    EXPECT_EQ(f.state.stage, 1);
    EXPECT_EQ(f.state.time_left, 600);
    const auto& log = fresh.platform.headless_audio().log();
    const auto stop = std::find(log.begin(), log.end(), "stop -3");
    EXPECT_NE(std::find(stop, log.end(), "open 101"), log.end()) << "silence, then stage 1 music";
    EXPECT_NE(fresh.platform.headless_audio().playing_stream(0), 0);
}

TEST_F(PlayScene, EachStageLoadsItsPictureCutIntoTilesAndStartsItsMusic) {
    t.platform.headless_audio().clear_log();
    begin_stage(g);
    EXPECT_EQ(s.stage, 2);
    const gfx::SpriteSheet& picture = g.sheets.screen_picture;
    ASSERT_EQ(picture.cell_count(), kPieceCount);
    ASSERT_TRUE(picture.has_surface());
    EXPECT_EQ(picture.surface()->pixel(567, 401), fixture::picture_pixel(2, 567, 401));
    EXPECT_EQ(picture.cell(47)->source, (gfx::Rect{560, 400, 640, 480}));
    EXPECT_EQ(picture.cell(6)->source, (gfx::Rect{80, 0, 160, 80}));
    // The fixture's stage tracks are 101 to 105 bytes long.
    const auto& log = audio_log();
    EXPECT_NE(std::find(log.begin(), log.end(), "open 102"), log.end());
    EXPECT_NE(t.platform.headless_audio().playing_stream(0), 0);
}

TEST_F(PlayScene, DrawsBoardMarksPiecesCoverReadoutsStageNumberAndPointer) {
    move_piece(s, 10, 100, 100);
    move_piece(s, 20, 140, 140);  // above 10 in the starting order
    move_piece(s, 47, 300, 100);  // the hidden piece
    place(g, 0);
    s.marks[0] = {400, 240};
    t.pass();
    EXPECT_EQ(t.pixel(120, 120), piece_colour(1, 10));
    EXPECT_EQ(t.pixel(170, 170), piece_colour(1, 20));
    EXPECT_EQ(t.pixel(310, 110), fixture::cell_colour(4, kCover));
    EXPECT_EQ(t.pixel(20, 20), piece_colour(1, 0));
    EXPECT_EQ(t.pixel(410, 250), fixture::cell_colour(3, 0));
    EXPECT_EQ(t.pixel(90, 410), fixture::cell_colour(3, 1)) << "marks keep their index";
    EXPECT_EQ(t.pixel(600, 300), board(600, 300));
    EXPECT_EQ(t.pixel(451, 5), fixture::glyph_colour('S'));
    EXPECT_EQ(t.pixel(glyph_left(556, "00075", 3) + 1, 5), fixture::glyph_colour('7'));
    EXPECT_EQ(t.pixel(451, 30), fixture::glyph_colour('T'));
    EXPECT_EQ(t.pixel(451, 55), fixture::glyph_colour('R'));
    EXPECT_EQ(t.pixel(56, 1), fixture::glyph_colour('+')) << "piece 0's pop-up: + at (55, 0)";
    EXPECT_EQ(t.pixel(76, 1), fixture::glyph_colour('7')) << "and 75 at (75, 0)";
    EXPECT_EQ(t.pixel(321, 441), fixture::cell_colour(11, 1));
    EXPECT_EQ(t.pixel(320, 240), fixture::cell_colour(12, 0));
}

TEST_F(PlayScene, ViewKeysChooseLoosePlacedBothOrNoPieces) {
    place(g, 0);
    move_piece(s, 10, 100, 100);
    struct Case {
        bool control, shift, loose_shown, placed_shown;
    };
    for (const Case& c : {Case{false, false, true, true}, Case{true, false, true, false},
                          Case{false, true, false, true}, Case{true, true, false, false}}) {
        if (c.control) key(kWmKeyDown, kVkControl);
        if (c.shift) key(kWmKeyDown, kVkShift);
        t.pass();
        EXPECT_EQ(t.pixel(140, 140), c.loose_shown ? piece_colour(1, 10) : board(140, 140))
            << c.control << c.shift;
        EXPECT_EQ(t.pixel(40, 40), c.placed_shown ? piece_colour(1, 0) : board(40, 40))
            << c.control << c.shift;
        EXPECT_EQ(t.pixel(451, 5), fixture::glyph_colour('S'));
        key(kWmKeyUp, kVkControl);
        key(kWmKeyUp, kVkShift);
    }
}

TEST_F(PlayScene, WhileAViewKeyIsHeldPressesTakeNothingMovesEndTheDragReleasesStillJudge) {
    move_piece(s, 10, 90, 330);  // 10 right and below its home (80, 320)
    move_piece(s, 20, 300, 300);
    press(kWmLButtonDown, 130, 370);
    ASSERT_TRUE(s.dragging);
    EXPECT_EQ(g.play.cursor_frame, 1);
    key(kWmKeyDown, kVkShift);
    t.move(200, 200);
    EXPECT_FALSE(s.dragging);
    EXPECT_EQ(s.x[10], 90);
    press(kWmLButtonDown, 340, 340);
    EXPECT_FALSE(s.dragging);
    EXPECT_EQ(s.held_piece, 10);
    press(kWmLButtonUp, 340, 340);
    EXPECT_TRUE(s.placed[10]);
    EXPECT_EQ(g.play.cursor_frame, 0);
    key(kWmKeyUp, kVkShift);
    press(kWmLButtonDown, 340, 340);
    EXPECT_EQ(s.held_piece, 20);
}

TEST_F(PlayScene, ADoubleClickPressTakesNothingButItsReleaseJudgesTheHeldPiece) {
    move_piece(s, 10, 90, 330);
    move_piece(s, 20, 300, 300);
    s.held_piece = 10;
    press(kWmLButtonDblClk, 340, 340);
    EXPECT_FALSE(s.dragging);
    EXPECT_EQ(g.play.cursor_frame, 0);
    press(kWmLButtonUp, 340, 340);
    EXPECT_TRUE(s.placed[10]);
    EXPECT_FALSE(s.placed[20]);
}

TEST_F(PlayScene, AHeldPieceFollowsThePointerAndSnapsWithTheEffect) {
    move_piece(s, 10, 300, 300);
    press(kWmLButtonDown, 350, 360);
    t.move(130, 380);
    EXPECT_EQ(s.x[10], 80);
    EXPECT_EQ(s.y[10], 320);
    EXPECT_EQ(t.pixel(120, 360), piece_colour(1, 10));
    EXPECT_EQ(t.pixel(130, 380), fixture::cell_colour(12, 1)) << "the holding pointer";
    t.platform.headless_audio().clear_log();
    press(kWmLButtonUp, 130, 380);
    EXPECT_TRUE(s.placed[10]);
    const auto& log = audio_log();
    EXPECT_NE(std::find(log.begin(), log.end(), "open 64"), log.end()) << "wave/in.wav";
    EXPECT_NE(std::find(log.begin(), log.end(), "play 1 " + std::to_string(g.sound.stream[1])),
              log.end());
}

TEST_F(PlayScene, ClocksTickAfterMoreThanAQuarterAndMoreThanASecondAcrossTheWrap) {
    struct Case {
        uint32_t elapsed;
        bool quarter, second;
    };
    for (const Case& c : {Case{250, false, false}, Case{251, true, false}, Case{1000, true, false},
                          Case{1001, true, true}}) {
        now = 0xFFFFFF00u;
        g.play.quarter_clock = g.play.second_clock = now;
        g.play.jiggle_phase = 2;
        g.play.frame_count = 6;
        s.time_left = 300;
        advance(c.elapsed);
        EXPECT_EQ(g.play.jiggle_phase, c.quarter ? 3 : 2) << c.elapsed;
        EXPECT_EQ(g.play.popup_dx, c.quarter ? -1 : g.play.popup_dx);
        EXPECT_EQ(g.play.quarter_clock, c.quarter ? now : 0xFFFFFF00u);
        EXPECT_EQ(s.time_left, c.second ? 299 : 300) << c.elapsed;
        EXPECT_EQ(g.play.second_clock, c.second ? now : 0xFFFFFF00u);
        if (c.second) {
            EXPECT_EQ(g.play.frames_per_second, 7);
        }
    }
    for (int phase : {3, 0}) {
        advance(251);
        EXPECT_EQ(g.play.jiggle_phase, (phase + 1) % 4);
    }
    EXPECT_EQ(g.play.popup_dx, 1);
    EXPECT_EQ(g.play.popup_dy, -1);
}

TEST_F(PlayScene, TheStageNumberShowsUntilTheSeventeenthTick) {
    for (int tick = 1; tick <= 17; ++tick) {
        advance(1001);
        const bool shown = tick < 17;
        EXPECT_EQ(s.show_stage_number, shown) << tick;
        EXPECT_EQ(t.pixel(321, 441) == fixture::cell_colour(11, 1), shown) << tick;
    }
    EXPECT_EQ(s.time_left, 600 - 17);
}

TEST_F(PlayScene, TheTimeReadoutShowsTheTickedValueAndZeroIsNeverShown) {
    s.time_left = 2;
    advance(1001);
    EXPECT_EQ(t.pixel(557, 30), fixture::glyph_colour('0'));
    EXPECT_EQ(t.pixel(glyph_left(556, "00001", 4) + 1, 30), fixture::glyph_colour('1'));
    advance(1001);
    EXPECT_EQ(s.time_left, 0);
    EXPECT_EQ(g.current_scene, GameOver);
    EXPECT_NE(t.pixel(557, 30), fixture::glyph_colour('0'));
    EXPECT_EQ(t.pixel(451, 30), fixture::glyph_colour('T'));
    EXPECT_NE(t.platform.headless_audio().playing_stream(0), 0) << "the music goes on";
    t.pass();
    EXPECT_EQ(t.pixel(600, 470), fixture::picture_pixel(15, 600, 470));
}

TEST_F(PlayScene, BigValuesKeepAllTheirDigits) {
    s.score = 123456;
    t.pass();
    EXPECT_EQ(t.pixel(glyph_left(556, "123456", 5) + 1, 5), fixture::glyph_colour('6'));
}

// A point that no piece of the stage covers and no mark, read-out, stage number or pointer
// lies on.
std::pair<int, int> bare_point(const GameState& s) {
    for (int y = 70; y < 430; y += 7) {
        for (int x = 10; x < 550; x += 7) {
            if (piece_at(s, x, y)) continue;
            if (std::any_of(s.marks.begin(), s.marks.end(), [&](const MarkedCell& m) {
                    return m.x <= x && x < m.x + 80 && m.y <= y && y < m.y + 80;
                }))
                continue;
            if (x >= 300 && x < 340 && y >= 230 && y < 250) continue;
            return {x, y};
        }
    }
    ADD_FAILURE() << "no bare point";
    return {0, 0};
}

// A point of piece p, on screen and clear of the read-outs, the stage number and the pointer.
std::pair<int, int> inside_piece(const GameState& s, int p) {
    for (int dy = 1; dy < 80; dy += 13) {
        for (int dx = 1; dx < 80; dx += 13) {
            const int x = s.x[p] + dx, y = s.y[p] + dy;
            if (x < 0 || x >= 640 || y < 0 || y >= 480) continue;
            if ((x >= 440 && y < 70) || (x >= 300 && x < 345 && y >= 230)) continue;
            return {x, y};
        }
    }
    ADD_FAILURE() << "piece " << p << " has no clear point";
    return {0, 0};
}

TEST_F(PlayScene, CompletionIsFoundByTheUpdateAfterTheLastPlacement) {
    for (int p = 0; p < kPieceCount - 1; ++p) place(g, p);
    move_piece(s, 47, 555, 395);
    press(kWmLButtonDown, 600, 440);
    ASSERT_EQ(s.stage, 1);
    press(kWmLButtonUp, 600, 440);  // the same pass's update begins stage 2
    ASSERT_EQ(s.stage, 2);
    const auto [x, y] = bare_point(s);
    EXPECT_EQ(t.pixel(x, y), fixture::picture_pixel(1, x, y)) << "the finished picture";
    const int top = s.stacking.back();
    const auto [tx, ty] = inside_piece(s, top);
    EXPECT_EQ(t.pixel(tx, ty),
              fixture::picture_pixel(2, home_x(top) + tx - s.x[top], home_y(top) + ty - s.y[top]));
    t.pass();
    EXPECT_EQ(t.pixel(x, y), board(x, y));
    EXPECT_EQ(t.pixel(321, 441), fixture::cell_colour(11, 2));
}

TEST_F(PlayScene, TheFifthStageCompletedHandsOverToTheTally) {
    s.stage = 4;
    begin_stage(g);
    clear_board(g);
    for (int p = 0; p < kPieceCount; ++p) place(g, p);
    t.platform.headless_audio().clear_log();
    t.pass();
    EXPECT_EQ(g.current_scene, Tally);
    EXPECT_EQ(audio_log(), std::vector<std::string>{"stop -3"});
    t.pass();
    EXPECT_EQ(t.pixel(630, 470), fixture::picture_pixel(14, 630, 470));
}

TEST_F(PlayScene, ADisplayLostInTheHandOverFrameRestoresTheTally) {
    s.stage = 4;
    begin_stage(g);
    clear_board(g);
    for (int p = 0; p < kPieceCount; ++p) place(g, p);
    t.platform.lose_surfaces(1);
    t.pass();  // the update hands over, then the flip reports the loss
    ASSERT_EQ(g.current_scene, Tally);
    t.passes(2);  // the flip succeeds, then the tally draws
    EXPECT_EQ(t.pixel(630, 470), fixture::picture_pixel(14, 630, 470));
}

TEST_F(PlayScene, EscapeQuitsInTheMiddleOfAGame) {
    move_piece(s, 10, 300, 300);
    press(kWmLButtonDown, 350, 350);
    key(kWmKeyDown, kVkEscape);
    EXPECT_TRUE(t.platform.window_destroyed());
    EXPECT_EQ(g.quit_requested, 1);
    t.pass();
    EXPECT_TRUE(t.ended());
}

TEST_F(PlayScene, ALostDisplayReloadsEverySheetAndPutsEveryPieceBack) {
    move_piece(s, 10, 100, 100);
    place(g, 0);
    for (gfx::SpriteSheet* sheet :
         {&g.sheets.board_picture, &g.sheets.marks_sheet, &g.sheets.cover_sheet,
          &g.sheets.stage_numbers_sheet, &g.sheets.screen_picture, &g.sheets.font_sheet,
          &g.sheets.cursor_sheet})
        sheet->unload();
    lose_display(t);
    EXPECT_EQ(t.pixel(140, 140), piece_colour(1, 10));
    EXPECT_EQ(t.pixel(40, 40), piece_colour(1, 0));
    EXPECT_EQ(s.x[10], 100);
    EXPECT_EQ(t.pixel(600, 300), board(600, 300));
    EXPECT_EQ(t.pixel(10, 410), fixture::cell_colour(3, 0));
    EXPECT_EQ(t.pixel(451, 5), fixture::glyph_colour('S'));
    EXPECT_EQ(t.pixel(321, 441), fixture::cell_colour(11, 1));
    EXPECT_EQ(t.pixel(320, 240), fixture::cell_colour(12, 0));
}

}  // namespace
