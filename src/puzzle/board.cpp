#include "puzzle/board.h"

#include <algorithm>

#include "app/game.h"
#include "app/pictures.h"
#include "puzzle/game_state.h"
#include "sound/sound.h"

namespace puzzle {

namespace {

// The order in which the four marks are compared; the first equal pair redraws all four.
constexpr std::array<std::pair<int, int>, 6> kMarkPairs = {
    {{0, 1}, {2, 1}, {3, 1}, {0, 2}, {3, 2}, {0, 3}}};

bool marks_differ(const std::array<MarkedCell, kMarkCount>& marks) {
    return std::none_of(kMarkPairs.begin(), kMarkPairs.end(), [&](const auto& pair) {
        return marks[static_cast<size_t>(pair.first)] == marks[static_cast<size_t>(pair.second)];
    });
}

void scatter_pieces(Game& game) {
    GameState& s = game.state;
    for (int n = 0; n < kPieceCount; ++n) {
        const int x = game.random.mod(640) - 40;
        const int y = game.random.mod(480) - 40;
        move_piece(game, n, x, y);
        s.stacking[static_cast<size_t>(n)] = n;
        s.placed[static_cast<size_t>(n)] = false;
    }
}

}  // namespace

int difficulty_level(int difficulty) {
    return std::clamp(difficulty, 0, static_cast<int>(kDifficultyDivisor.size()) - 1);
}

int difficulty_divisor(int difficulty) {
    return kDifficultyDivisor[static_cast<size_t>(difficulty_level(difficulty))];
}

void reset_game(Game& game) {
    GameState& s = game.state;
    s.time_left = (difficulty_divisor(game.difficulty) + 5) * 100;
    s.score = 0;
    s.total = 0;
    s.stage = 0;
    s.max_chain = 0;
    s.shown_score = 0;
    s.shown_time_bonus = 0;
    s.shown_chain_bonus = 0;
    s.score_done = false;
    s.time_bonus_done = false;
    s.chain_bonus_done = false;
    s.gallery_hover = false;
    s.record_hover = false;
}

void begin_stage(Game& game) {
    GameState& s = game.state;
    ++s.stage;
    app::load_screen_picture(game, s.stage);
    game.sheets.screen_picture.make_tile_grid();
    if (s.stage < static_cast<int>(sound::kMusicFiles.size()))
        sound::sound_open_and_apply(game, sound::kMusicChannel,
                                    sound::kMusicFiles[static_cast<size_t>(s.stage)]);
    s.popups = {};
    s.show_stage_number = true;
    s.stage_ticks = 0;
    s.hidden_piece = game.random.mod(kPieceCount);
    s.hidden_bonus_open = true;
    s.mark_bonus_open = true;
    s.marks_hit = 0;
    pick_marked_cells(game);
    scatter_pieces(game);
}

void pick_marked_cells(Game& game) {
    auto& marks = game.state.marks;
    do {
        for (MarkedCell& m : marks) {
            m.x = game.random.mod(kColumns) * kPieceSize;
            m.y = game.random.mod(kRows) * kPieceSize;
        }
    } while (!marks_differ(marks));
}

void move_piece(Game& game, int piece, int x, int y) {
    game.state.x[static_cast<size_t>(piece)] = x;
    game.state.y[static_cast<size_t>(piece)] = y;
    game.sheets.screen_picture.draw_cell(game.back_buffer(), x, y, piece, false);
}

int placed_count(const GameState& state) {
    return static_cast<int>(std::count(state.placed.begin(), state.placed.end(), true));
}

}  // namespace puzzle
