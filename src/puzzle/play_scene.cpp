#include "puzzle/play_scene.h"

#include <array>
#include <cstdint>
#include <string>

#include "app/game.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "gfx/archive.h"
#include "gfx/text.h"
#include "puzzle/board.h"
#include "puzzle/rules.h"
#include "sound/sound.h"

namespace puzzle {

using namespace platform;

namespace {

// Where the play screen draws its read-outs.
constexpr int kLabelX = 450;
constexpr int kValueX = 556;
constexpr int kScoreY = 4;
constexpr int kTimeY = 29;
constexpr int kChainY = 54;
constexpr int kStageNumberX = 320;
constexpr int kStageNumberY = 440;
constexpr int kBoardPicture = 9;
constexpr int kTallyPicture = 14;
constexpr int kTimeUpPicture = 15;
constexpr int kPausePicture = 16;
constexpr uint32_t kQuarterMs = 250;
constexpr uint32_t kSecondMs = 1000;
// The stage number stays up for the stage's first 16 one-second ticks.
constexpr int kStageNumberTicks = 15;
constexpr int kPlusGap = 20;

struct Offset {
    int dx, dy;
};
// The pop-ups jiggle round a small square, one step every quarter second.
constexpr std::array<Offset, 4> kJiggle = {{{1, -1}, {-1, -1}, {-1, 1}, {1, 1}}};

bool view_key_held(const PlayView& v) {
    return v.show_loose_only || v.show_placed_only;
}

bool piece_shown(const PlayView& v, bool placed) {
    if (v.show_loose_only && v.show_placed_only) return false;
    if (v.show_loose_only) return !placed;
    if (v.show_placed_only) return placed;
    return true;
}

void draw_text(Game& game, int x, int y, const std::string& text) {
    game.sheets.font_sheet.draw_text(game.back_buffer(), x, y, text, true);
}

void pause_game(Game& game) {
    app::load_screen_picture(game, kPausePicture);
    game.current_scene = Pause;
}

// The play sheets and the cut stage picture with every piece back at its recorded place.
void reload_play(Game& game) {
    Sheets& s = game.sheets;
    app::load_piece(game, s.marks_sheet, gfx::kMarksPiece);
    app::load_piece(game, s.cover_sheet, gfx::kCoverPiece);
    app::load_picture(game, s.board_picture, kBoardPicture);
    app::load_screen_picture(game, game.state.stage);
    s.screen_picture.make_tile_grid();
    for (int p = 0; p < kPieceCount; ++p)
        move_piece(game, p, game.state.x[static_cast<size_t>(p)],
                   game.state.y[static_cast<size_t>(p)]);
    app::load_piece(game, s.stage_numbers_sheet, gfx::kStageNumbersPiece);
}

// Draws the pieces bottom to top as the view keys allow; returns how many are placed.
int draw_pieces(Game& game) {
    const GameState& s = game.state;
    gfx::Surface& bb = game.back_buffer();
    int placed = 0;
    for (int p : s.stacking) {
        const size_t i = static_cast<size_t>(p);
        if (s.placed[i]) ++placed;
        if (!piece_shown(game.play, s.placed[i])) continue;
        game.sheets.screen_picture.draw_cell(bb, s.x[i], s.y[i], p, false);
        if (p == s.hidden_piece)
            game.sheets.cover_sheet.blit_region(bb, s.x[i], s.y[i], 0, 0, kPieceSize, kPieceSize);
    }
    return placed;
}

// The last piece placed: the next stage, or after the fifth the tally. True when play ends.
bool finish_stage(Game& game) {
    if (game.state.stage >= kStageCount) {
        app::load_screen_picture(game, kTallyPicture);
        game.current_scene = Tally;
        sound::sound_stop_all(game);
        return true;
    }
    begin_stage(game);
    return false;
}

void quarter_tick(Game& game, uint32_t now) {
    PlayView& v = game.play;
    if (now - v.quarter_clock <= kQuarterMs) return;
    const Offset o = kJiggle[static_cast<size_t>(v.jiggle_phase)];
    v.popup_dx = o.dx;
    v.popup_dy = o.dy;
    v.jiggle_phase = (v.jiggle_phase + 1) % static_cast<int>(kJiggle.size());
    v.quarter_clock = now;
}

// True when the countdown ran out and the time-up screen took over.
bool one_second_tick(Game& game, uint32_t now) {
    PlayView& v = game.play;
    GameState& s = game.state;
    if (now - v.second_clock <= kSecondMs) return false;
    if (s.stage_ticks > kStageNumberTicks) {
        s.show_stage_number = false;
    } else {
        ++s.stage_ticks;
    }
    const bool time_up = second_tick(s);
    v.second_clock = now;
    v.frames_per_second = v.frame_count;
    v.frame_count = 0;
    if (!time_up) return false;
    app::load_screen_picture(game, kTimeUpPicture);
    game.current_scene = GameOver;
    return true;
}

void draw_popups(Game& game) {
    const PlayView& v = game.play;
    for (ScorePopup& popup : game.state.popups) {
        if (!popup.alive()) {
            popup.active = false;
            popup.timer = 0;
            continue;
        }
        const int x = popup.x + v.popup_dx;
        const int y = popup.y + v.popup_dy;
        draw_text(game, x - kPlusGap, y, "+");
        draw_text(game, x, y, std::to_string(popup.points));
    }
}

void handle_key_down(Game& game, uint32_t key) {
    if (key == kVkEscape) app::quit_game(game);
    if (key == kVkControl) game.play.show_loose_only = true;
    if (key == kVkShift) game.play.show_placed_only = true;
    if (key == kVkSpace) pause_game(game);
}

void handle_key_up(Game& game, uint32_t key) {
    if (key == kVkControl) game.play.show_loose_only = false;
    if (key == kVkShift) game.play.show_placed_only = false;
}

}  // namespace

void start_game(Game& game) {
    load_play_pictures(game);
    game.current_scene = Play;
    sound::sound_stop_all(game);
    reset_game(game);
    begin_stage(game);
}

void load_play_pictures(Game& game) {
    Sheets& s = game.sheets;
    app::load_piece(game, s.marks_sheet, gfx::kMarksPiece);
    app::load_piece(game, s.cover_sheet, gfx::kCoverPiece);
    app::load_picture(game, s.board_picture, kBoardPicture);
    app::load_piece(game, s.stage_numbers_sheet, gfx::kStageNumbersPiece);
}

void restore_play_pictures(Game& game) {
    reload_play(game);
    app::load_common_sheets(game);
}

void resume_play(Game& game) {
    reload_play(game);
    game.current_scene = Play;
}

void play_handle(Game& game, const Message& message) {
    GameState& s = game.state;
    switch (message.id) {
        case kWmDestroy:
            app::handle_common(game, message);
            break;
        case kWmKeyDown:
            handle_key_down(game, message.wparam);
            break;
        case kWmKeyUp:
            handle_key_up(game, message.wparam);
            break;
        case kWmMouseMove:
            app::store_mouse(game, message);
            if (view_key_held(game.play)) {
                cancel_drag(s);
            } else {
                drag_to(game, game.mouse_x, game.mouse_y);
            }
            break;
        case kWmLButtonDown:
            if (view_key_held(game.play)) {
                cancel_drag(s);
            } else if (pick_up(game, point_x(message.lparam), point_y(message.lparam))) {
                game.play.cursor_frame = 1;
            }
            break;
        case kWmLButtonUp:
            game.play.cursor_frame = 0;
            release(game);
            break;
        case kWmRButtonDown:
            pause_game(game);
            break;
        default:
            break;
    }
}

void play_update(Game& game) {
    GameState& s = game.state;
    PlayView& v = game.play;
    gfx::Surface& bb = game.back_buffer();
    Sheets& sheets = game.sheets;

    sound::music_loop_check(game);
    sheets.board_picture.blit_picture(bb, 640, 480);
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkedCell& m = s.marks[static_cast<size_t>(i)];
        sheets.marks_sheet.draw_cell(bb, m.x, m.y, i, true);
    }
    if (draw_pieces(game) == kPieceCount && finish_stage(game)) return;

    draw_text(game, kLabelX, kScoreY, "SCORE:");
    draw_text(game, kValueX, kScoreY, gfx::format_5digits(s.score));
    draw_text(game, kLabelX, kTimeY, "TIME:");
    ++v.frame_count;
    const uint32_t now = game.platform.ticks();
    quarter_tick(game, now);
    if (one_second_tick(game, now)) return;
    draw_text(game, kValueX, kTimeY, gfx::format_5digits(s.time_left));
    draw_text(game, kLabelX, kChainY, "RENSA:");
    draw_text(game, kValueX, kChainY, gfx::format_5digits(s.max_chain));
    if (game.show_fps) draw_text(game, 4, 452, std::to_string(v.frames_per_second));
    draw_popups(game);
    if (s.show_stage_number)
        sheets.stage_numbers_sheet.draw_cell(bb, kStageNumberX, kStageNumberY, s.stage, true);
    app::draw_cursor(game, v.cursor_frame);
}

}  // namespace puzzle
