#pragma once
#include <array>
#include <cstddef>

namespace rules {

inline constexpr int kPieceSize = 80;
inline constexpr int kColumns = 8;
inline constexpr int kRows = 6;
inline constexpr int kPieceCount = kColumns * kRows;
inline constexpr int kStageCount = 5;
inline constexpr int kMarkCount = 4;
inline constexpr int kPopupCount = 4;

// Pieces are numbered column by column: piece n belongs at column n / 6, row n % 6.
constexpr int home_x(int piece) {
    return kPieceSize * (piece / kRows);
}
constexpr int home_y(int piece) {
    return kPieceSize * (piece % kRows);
}

// A piece number as an index into the per-piece arrays.
constexpr size_t at(int piece) {
    return static_cast<size_t>(piece);
}

struct ScorePopup {
    bool active = false;
    int timer = 0;
    int points = 0;
    int x = 0;
    int y = 0;
    bool alive() const { return active && timer > 0; }
};

struct MarkedCell {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const MarkedCell&, const MarkedCell&) = default;
};

// The one record of play.
struct GameState {
    // Per piece.
    std::array<int, kPieceCount> x{};
    std::array<int, kPieceCount> y{};
    std::array<bool, kPieceCount> placed{};
    // Bottom first, top last; holds every piece once.
    std::array<int, kPieceCount> stacking{};

    // Per stage.
    int stage = 0;
    int hidden_piece = 0;
    bool hidden_bonus_open = false;
    std::array<MarkedCell, kMarkCount> marks{};
    bool mark_bonus_open = false;
    int marks_hit = 0;
    bool show_stage_number = false;
    int stage_ticks = 0;
    std::array<ScorePopup, kPopupCount> popups{};

    // Per game.
    int time_left = 0;
    int score = 0;
    int chain = 0;
    int max_chain = 0;
    int popup_cursor = 0;
    int held_piece = 0;
    int hold_dx = 0;
    int hold_dy = 0;
    bool dragging = false;

    // The result tally.
    int total = 0;
    int shown_score = 0;
    int shown_time_bonus = 0;
    int shown_chain_bonus = 0;
    bool score_done = false;
    bool time_bonus_done = false;
    bool chain_bonus_done = false;
};

}  // namespace rules
