#include "rules/board.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "rules/difficulty.h"

namespace rules {

namespace {

// Scattered corners reach 40 pixels past the screen's top and left edges.
constexpr int kScatterWidth = 640;
constexpr int kScatterHeight = 480;
constexpr int kScatterMargin = 40;

// The order in which the four marks are compared; the first equal pair redraws all four.
constexpr std::array<std::pair<int, int>, 6> kMarkPairs = {
    {{0, 1}, {2, 1}, {3, 1}, {0, 2}, {3, 2}, {0, 3}}};

bool marks_differ(const std::array<MarkedCell, kMarkCount>& marks) {
    return std::none_of(kMarkPairs.begin(), kMarkPairs.end(), [&](const auto& pair) {
        return marks[at(pair.first)] == marks[at(pair.second)];
    });
}

void scatter_pieces(GameState& s, Random& random) {
    for (int n = 0; n < kPieceCount; ++n) {
        const int x = random.mod(kScatterWidth) - kScatterMargin;
        const int y = random.mod(kScatterHeight) - kScatterMargin;
        move_piece(s, n, x, y);
        s.stacking[at(n)] = n;
        s.placed[at(n)] = false;
    }
}

}  // namespace

void reset_game(GameState& s, int difficulty) {
    s.time_left = (difficulty_divisor(difficulty) + 5) * 100;
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
}

void begin_stage(GameState& s, Random& random) {
    ++s.stage;
    s.popups = {};
    s.show_stage_number = true;
    s.stage_ticks = 0;
    s.hidden_piece = random.mod(kPieceCount);
    s.hidden_bonus_open = true;
    s.mark_bonus_open = true;
    s.marks_hit = 0;
    pick_marked_cells(s, random);
    scatter_pieces(s, random);
}

void pick_marked_cells(GameState& s, Random& random) {
    do {
        for (MarkedCell& m : s.marks) {
            m.x = random.mod(kColumns) * kPieceSize;
            m.y = random.mod(kRows) * kPieceSize;
        }
    } while (!marks_differ(s.marks));
}

void move_piece(GameState& s, int piece, int x, int y) {
    s.x[at(piece)] = x;
    s.y[at(piece)] = y;
}

int placed_count(const GameState& s) {
    return static_cast<int>(std::count(s.placed.begin(), s.placed.end(), true));
}

bool stage_cleared(const GameState& s) {
    return placed_count(s) == kPieceCount;
}

void raise_to_top(GameState& s, int piece) {
    auto& order = s.stacking;
    auto it = std::find(order.begin(), order.end(), piece);
    if (it != order.end()) std::rotate(it, it + 1, order.end());
}

void send_to_bottom(GameState& s, int piece) {
    auto& order = s.stacking;
    auto it = std::find(order.begin(), order.end(), piece);
    if (it != order.end()) std::rotate(order.begin(), it, it + 1);
}

std::optional<int> piece_at(const GameState& s, int px, int py) {
    for (auto it = s.stacking.rbegin(); it != s.stacking.rend(); ++it) {
        const int x = s.x[at(*it)];
        const int y = s.y[at(*it)];
        if (x < px && px < x + kPieceSize && y < py && py < y + kPieceSize) return *it;
    }
    return std::nullopt;
}

}  // namespace rules
