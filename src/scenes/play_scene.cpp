#include "scenes/play_scene.h"

#include <array>
#include <cstdint>
#include <string>

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "gfx/archive.h"
#include "gfx/text.h"
#include "pictures/picture_folder.h"
#include "platform/backend.h"
#include "platform/log.h"
#include "rules/board.h"
#include "rules/placement.h"
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
constexpr uint32_t kQuarterMs = 250;
constexpr uint32_t kSecondMs = 1000;
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

// A piece is drawn where it lands the moment it moves; the next frame draws it again in its
// place in the stacking order.
void draw_piece(Game& game, int p) {
    const size_t i = static_cast<size_t>(p);
    game.sheets.screen_picture.draw_cell(game.back_buffer(), game.state.x[i], game.state.y[i], p,
                                         false);
}

// Every piece in number order, as a freshly cut or scattered stage shows them.
void draw_every_piece(Game& game) {
    for (int p = 0; p < rules::kPieceCount; ++p) draw_piece(game, p);
}

// The player's picture for this stage, fitted once and kept for restores; false when the
// stage takes the game's own, or the file no longer decodes (then it is named).
bool load_players_picture(Game& game) {
    PlayView& v = game.play;
    const int stage = game.state.stage;
    if (stage < 1 || stage > static_cast<int>(v.stage_files.size())) return false;
    if (v.fitted_stage != stage) {
        const std::filesystem::path& file = v.stage_files[static_cast<size_t>(stage - 1)];
        const uint32_t started = game.platform.ticks();
        platform::Result<gfx::Surface> picture = pictures::load_stage_picture(file);
        // A photo takes a large part of a second to decode; the countdown must not run
        // meanwhile, as it does not for the game's own pictures, which take none.
        const uint32_t took = game.platform.ticks() - started;
        v.second_clock += took;
        v.quarter_clock += took;
        if (!picture) {
            platform::warn(platform::utf8_text(file) + " " + picture.error().reason +
                           "; the stage takes the game's picture");
            v.stage_files[static_cast<size_t>(stage - 1)].clear();
            return false;
        }
        v.fitted = std::move(*picture);
        v.fitted_stage = stage;
    }
    game.sheets.screen_picture.load_picture(v.fitted);
    return true;
}

// The stage's picture, cut into the tiles the pieces are drawn from.
void cut_stage_picture(Game& game) {
    if (!load_players_picture(game))
        app::load_screen_picture(game, app::stage_picture(game.state.stage));
    game.sheets.screen_picture.make_tile_grid();
}

// With YOURS, the five stages take the usable pictures of the player's folder in an order the
// game's random generator shuffles; fewer than five repeat in that order. Without them nothing
// is drawn from the generator, so the game's own stages come out as they always have.
void choose_stage_pictures(Game& game) {
    PlayView& v = game.play;
    v.stage_files.clear();
    v.fitted_stage = 0;
    if (!game.your_pictures) return;
    std::vector<std::filesystem::path> usable = pictures::usable_pictures(game.picture_folder());
    if (usable.empty()) return;
    for (size_t i = usable.size() - 1; i > 0; --i)
        std::swap(usable[i], usable[static_cast<size_t>(game.random.mod(static_cast<int>(i) + 1))]);
    for (int stage = 0; stage < rules::kStageCount; ++stage)
        v.stage_files.push_back(usable[static_cast<size_t>(stage) % usable.size()]);
}

// The stage's picture cut into tiles, its music, and its pieces drawn where they lie.
void set_up_stage(Game& game) {
    const int stage = game.state.stage;
    cut_stage_picture(game);
    if (stage < static_cast<int>(sound::kMusicFiles.size()))
        sound::sound_open_and_apply(game.mixer(), sound::kMusicChannel,
                                    sound::kMusicFiles[static_cast<size_t>(stage)]);
    draw_every_piece(game);
}

// The stage picture cut again, with every piece back at its recorded place.
void recut_stage(Game& game) {
    cut_stage_picture(game);
    draw_every_piece(game);
}

// Draws the pieces bottom to top as the view keys allow.
void draw_pieces(Game& game) {
    const rules::GameState& s = game.state;
    gfx::Surface& bb = game.back_buffer();
    for (int p : s.stacking) {
        const size_t i = static_cast<size_t>(p);
        if (!piece_shown(game.play, s.placed[i])) continue;
        draw_piece(game, p);
        if (p == s.hidden_piece)
            game.sheets.cover_sheet.blit_region(bb, s.x[i], s.y[i], 0, 0, rules::kPieceSize,
                                                rules::kPieceSize);
    }
}

// A snapped piece: the effect, and the piece drawn on its home cell.
void show_placement(Game& game, const rules::Placement& placement) {
    sound::sound_open_and_apply(game.mixer(), sound::kEffectChannel, sound::kEffectFile);
    draw_piece(game, placement.piece);
}

// The last piece placed: the next stage, or after the fifth the tally. True when play ends.
bool finish_stage(Game& game) {
    if (game.state.stage >= rules::kStageCount) {
        app::change_scene(game, Tally);
        sound::sound_stop_all(game.mixer());
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
    rules::GameState& s = game.state;
    if (now - v.second_clock <= kSecondMs) return false;
    const rules::Countdown countdown = rules::second_tick(s);
    v.second_clock = now;
    v.frames_per_second = v.frame_count;
    v.frame_count = 0;
    if (countdown == rules::Countdown::Running) return false;
    app::change_scene(game, GameOver);
    return true;
}

void draw_popups(Game& game) {
    const PlayView& v = game.play;
    rules::retire_dead_popups(game.state);
    for (const rules::ScorePopup& popup : game.state.popups) {
        if (!popup.alive()) continue;
        const int x = popup.x + v.popup_dx;
        const int y = popup.y + v.popup_dy;
        app::draw_text(game, x - kPlusGap, y, "+");
        app::draw_text(game, x, y, std::to_string(popup.points));
    }
}

void load_play_sheets(Game& game) {
    Sheets& s = game.sheets;
    app::load_piece(game, s.marks_sheet, gfx::kMarksPiece);
    app::load_piece(game, s.cover_sheet, gfx::kCoverPiece);
    app::load_picture(game, s.board_picture, app::kBoardPicture);
    app::load_piece(game, s.stage_numbers_sheet, gfx::kStageNumbersPiece);
}

void handle_key_down(Game& game, uint32_t key) {
    if (key == kVkControl) game.play.show_loose_only = true;
    if (key == kVkShift) game.play.show_placed_only = true;
    if (key == kVkSpace) app::change_scene(game, Pause);
}

void handle_key_up(Game& game, uint32_t key) {
    if (key == kVkControl) game.play.show_loose_only = false;
    if (key == kVkShift) game.play.show_placed_only = false;
}

}  // namespace

void begin_stage(Game& game) {
    rules::begin_stage(game.state, game.random);
    set_up_stage(game);
}

void play_enter(Game& game) {
    load_play_sheets(game);
    sound::sound_stop_all(game.mixer());
    rules::reset_game(game.state, game.difficulty);
    choose_stage_pictures(game);
    begin_stage(game);
}

void play_restore(Game& game) {
    load_play_sheets(game);
    recut_stage(game);
}

void play_handle(Game& game, const Message& message) {
    rules::GameState& s = game.state;
    switch (message.id) {
        case kWmKeyDown:
            handle_key_down(game, message.wparam);
            break;
        case kWmKeyUp:
            handle_key_up(game, message.wparam);
            break;
        case kWmMouseMove:
            if (view_key_held(game.play)) {
                rules::cancel_drag(s);
            } else if (rules::drag_to(s, game.mouse_x, game.mouse_y)) {
                draw_piece(game, s.held_piece);
            }
            break;
        case kWmLButtonDown:
            if (view_key_held(game.play)) {
                rules::cancel_drag(s);
            } else if (rules::pick_up(s, point_x(message.lparam), point_y(message.lparam))) {
                game.play.cursor_frame = 1;
            }
            break;
        case kWmLButtonUp:
            game.play.cursor_frame = 0;
            if (const auto placement = rules::release(s, game.difficulty))
                show_placement(game, *placement);
            break;
        case kWmRButtonDown:
            app::change_scene(game, Pause);
            break;
        default:
            break;
    }
}

void play_update(Game& game) {
    rules::GameState& s = game.state;
    PlayView& v = game.play;
    gfx::Surface& bb = game.back_buffer();
    Sheets& sheets = game.sheets;

    sound::music_loop_check(game.mixer());
    sheets.board_picture.blit_picture(bb, 640, 480);
    for (int i = 0; i < rules::kMarkCount; ++i) {
        const rules::MarkedCell& m = s.marks[static_cast<size_t>(i)];
        sheets.marks_sheet.draw_cell(bb, m.x, m.y, i, true);
    }
    draw_pieces(game);
    if (rules::stage_cleared(s) && finish_stage(game)) return;

    app::draw_text(game, kLabelX, kScoreY, "SCORE:");
    app::draw_text(game, kValueX, kScoreY, gfx::format_5digits(s.score));
    app::draw_text(game, kLabelX, kTimeY, "TIME:");
    ++v.frame_count;
    const uint32_t now = game.platform.ticks();
    quarter_tick(game, now);
    if (one_second_tick(game, now)) return;
    app::draw_text(game, kValueX, kTimeY, gfx::format_5digits(s.time_left));
    app::draw_text(game, kLabelX, kChainY, "RENSA:");
    app::draw_text(game, kValueX, kChainY, gfx::format_5digits(s.max_chain));
    if (game.show_fps) app::draw_text(game, 4, 452, std::to_string(v.frames_per_second));
    draw_popups(game);
    if (s.show_stage_number)
        sheets.stage_numbers_sheet.draw_cell(bb, kStageNumberX, kStageNumberY, s.stage, true);
    app::draw_cursor(game, v.cursor_frame);
}

}  // namespace puzzle
