#include "puzzle/rules.h"

#include <algorithm>

#include "app/game.h"
#include "puzzle/board.h"
#include "puzzle/game_state.h"
#include "sound/sound.h"

namespace puzzle {

namespace {

constexpr int kChainBonusStep = 4;
constexpr int kMaxPopupLife = 6;
constexpr int kHiddenBonusPerPiece = 150;
constexpr int kMarkBonus = 5000;
constexpr int kPopupSpacing = 75;

size_t at(int piece) {
    return static_cast<size_t>(piece);
}

bool snaps(int position, int home) {
    return home - kSnapBefore <= position && position <= home + kSnapPast;
}

// A placement while a pop-up lives continues the chain; any other starts it again at 0.
void advance_chain(Game& game) {
    GameState& s = game.state;
    if (live_popups(s) == 0) {
        s.chain = 0;
        return;
    }
    ++s.chain;
    if (s.chain % kChainBonusStep == 0) s.time_left += difficulty_level(game.difficulty);
    s.max_chain = std::max(s.max_chain, s.chain);
}

// Earned only while the loose hidden piece lies on the corner just filled.
int hidden_bonus(GameState& s, int hx, int hy, int d) {
    if (!s.hidden_bonus_open || s.x[at(s.hidden_piece)] != hx || s.y[at(s.hidden_piece)] != hy)
        return 0;
    s.hidden_bonus_open = false;
    return (kPieceCount - placed_count(s)) * kHiddenBonusPerPiece / d;
}

// Earned only when the first four placements of the stage fill the four marked cells.
int mark_bonus(GameState& s, int hx, int hy, int d) {
    if (!s.mark_bonus_open) return 0;
    const int before = s.marks_hit;
    for (const MarkedCell& m : s.marks)
        if (m.x == hx && m.y == hy) ++s.marks_hit;
    if (s.marks_hit == before) {
        s.mark_bonus_open = false;
        return 0;
    }
    if (s.marks_hit < kMarkCount) return 0;
    s.mark_bonus_open = false;
    return kMarkBonus / d;
}

void place(Game& game, int p) {
    GameState& s = game.state;
    const int d = difficulty_divisor(game.difficulty);
    const int column = p / kRows;
    const int row = p % kRows;
    const int hx = home_x(p);
    const int hy = home_y(p);

    advance_chain(game);
    const int points = placement_points(s, game.difficulty);
    s.score += points;
    s.placed[at(p)] = true;
    sound::sound_open_and_apply(game, sound::kEffectChannel, sound::kEffectFile);
    move_piece(game, p, hx, hy);

    ScorePopup& popup = s.popups[static_cast<size_t>(s.popup_cursor)];
    popup = {true, kMaxPopupLife - d, points, kPopupSpacing * (column + 1), kPopupSpacing * row};
    const int bonus = hidden_bonus(s, hx, hy, d) + mark_bonus(s, hx, hy, d);
    s.score += bonus;
    popup.points += bonus;

    send_to_bottom(s, p);
    s.popup_cursor = (s.popup_cursor + 1) % kPopupCount;
}

}  // namespace

void raise_to_top(GameState& state, int piece) {
    auto& order = state.stacking;
    auto it = std::find(order.begin(), order.end(), piece);
    if (it != order.end()) std::rotate(it, it + 1, order.end());
}

void send_to_bottom(GameState& state, int piece) {
    auto& order = state.stacking;
    auto it = std::find(order.begin(), order.end(), piece);
    if (it != order.end()) std::rotate(order.begin(), it, it + 1);
}

std::optional<int> piece_at(const GameState& state, int px, int py) {
    for (auto it = state.stacking.rbegin(); it != state.stacking.rend(); ++it) {
        const int x = state.x[at(*it)];
        const int y = state.y[at(*it)];
        if (x < px && px < x + kPieceSize && y < py && py < y + kPieceSize) return *it;
    }
    return std::nullopt;
}

bool pick_up(Game& game, int px, int py) {
    GameState& s = game.state;
    const auto p = piece_at(s, px, py);
    if (!p || s.placed[at(*p)]) return false;
    s.hold_dx = s.x[at(*p)] - px;
    s.hold_dy = s.y[at(*p)] - py;
    s.dragging = true;
    s.held_piece = *p;
    raise_to_top(s, *p);
    return true;
}

void drag_to(Game& game, int px, int py) {
    GameState& s = game.state;
    if (s.dragging) move_piece(game, s.held_piece, px + s.hold_dx, py + s.hold_dy);
}

void release(Game& game) {
    GameState& s = game.state;
    const int p = s.held_piece;
    if (s.placed[at(p)]) return;
    s.dragging = false;
    if (snaps(s.x[at(p)], home_x(p)) && snaps(s.y[at(p)], home_y(p))) place(game, p);
}

void cancel_drag(GameState& state) {
    state.dragging = false;
}

bool second_tick(GameState& state) {
    for (ScorePopup& popup : state.popups) {
        --popup.timer;
        if (popup.timer <= 0) popup = {false, 0, popup.points, popup.x, popup.y};
    }
    --state.time_left;
    return state.time_left <= 0;
}

int placement_points(const GameState& state, int difficulty) {
    const int d = difficulty_divisor(difficulty);
    return (15 * d + state.time_left / 10) / d + 6 * state.chain;
}

int live_popups(const GameState& state) {
    return static_cast<int>(std::count_if(state.popups.begin(), state.popups.end(),
                                          [](const ScorePopup& p) { return p.alive(); }));
}

}  // namespace puzzle
