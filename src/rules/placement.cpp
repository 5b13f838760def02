#include "rules/placement.h"

#include <algorithm>
#include <cstddef>

#include "rules/board.h"
#include "rules/difficulty.h"

namespace rules {

namespace {

constexpr int kChainBonusStep = 4;
constexpr int kMaxPopupLife = 6;
constexpr int kHiddenBonusPerPiece = 150;
constexpr int kMarkBonus = 5000;
constexpr int kPopupSpacing = 75;
// The stage number stays up for the stage's first 16 one-second ticks.
constexpr int kStageNumberTicks = 15;

bool snaps(int position, int home) {
    return home - kSnapBefore <= position && position <= home + kSnapPast;
}

// A placement while a pop-up lives continues the chain; any other starts it again at 0.
// Returns the seconds the chain step added.
int advance_chain(GameState& s, int difficulty) {
    if (live_popups(s) == 0) {
        s.chain = 0;
        return 0;
    }
    ++s.chain;
    s.max_chain = std::max(s.max_chain, s.chain);
    if (s.chain % kChainBonusStep != 0) return 0;
    s.time_left += difficulty_level(difficulty);
    return difficulty_level(difficulty);
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

Placement place(GameState& s, int p, int difficulty) {
    const int d = difficulty_divisor(difficulty);
    const int hx = home_x(p);
    const int hy = home_y(p);
    Placement result{.piece = p};
    result.time_bonus = advance_chain(s, difficulty);
    result.chain = s.chain;
    result.points = placement_points(s, difficulty);
    s.score += result.points;
    s.placed[at(p)] = true;
    move_piece(s, p, hx, hy);

    ScorePopup& popup = s.popups[at(s.popup_cursor)];
    popup = {true, kMaxPopupLife - d, result.points, kPopupSpacing * (p / kRows + 1),
             kPopupSpacing * (p % kRows)};
    result.hidden_bonus = hidden_bonus(s, hx, hy, d);
    result.mark_bonus = mark_bonus(s, hx, hy, d);
    s.score += result.hidden_bonus + result.mark_bonus;
    popup.points += result.hidden_bonus + result.mark_bonus;

    send_to_bottom(s, p);
    s.popup_cursor = (s.popup_cursor + 1) % kPopupCount;
    result.stage_cleared = stage_cleared(s);
    return result;
}

}  // namespace

bool pick_up(GameState& s, int px, int py) {
    const auto p = piece_at(s, px, py);
    if (!p || s.placed[at(*p)]) return false;
    s.hold_dx = s.x[at(*p)] - px;
    s.hold_dy = s.y[at(*p)] - py;
    s.dragging = true;
    s.held_piece = *p;
    raise_to_top(s, *p);
    return true;
}

bool drag_to(GameState& s, int px, int py) {
    if (!s.dragging) return false;
    move_piece(s, s.held_piece, px + s.hold_dx, py + s.hold_dy);
    return true;
}

std::optional<Placement> release(GameState& s, int difficulty) {
    const int p = s.held_piece;
    if (s.placed[at(p)]) return std::nullopt;
    s.dragging = false;
    if (!snaps(s.x[at(p)], home_x(p)) || !snaps(s.y[at(p)], home_y(p))) return std::nullopt;
    return place(s, p, difficulty);
}

void cancel_drag(GameState& s) {
    s.dragging = false;
}

Countdown second_tick(GameState& s) {
    if (s.stage_ticks > kStageNumberTicks) {
        s.show_stage_number = false;
    } else {
        ++s.stage_ticks;
    }
    for (ScorePopup& popup : s.popups) {
        --popup.timer;
        if (popup.timer <= 0) popup = {false, 0, popup.points, popup.x, popup.y};
    }
    --s.time_left;
    return s.time_left <= 0 ? Countdown::TimeUp : Countdown::Running;
}

int placement_points(const GameState& s, int difficulty) {
    const int d = difficulty_divisor(difficulty);
    return (15 * d + s.time_left / 10) / d + 6 * s.chain;
}

int live_popups(const GameState& s) {
    return static_cast<int>(std::count_if(s.popups.begin(), s.popups.end(),
                                          [](const ScorePopup& p) { return p.alive(); }));
}

void retire_dead_popups(GameState& s) {
    for (ScorePopup& popup : s.popups) {
        if (popup.alive()) continue;
        popup.active = false;
        popup.timer = 0;
    }
}

}  // namespace rules
