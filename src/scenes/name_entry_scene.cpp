#include "scenes/name_entry_scene.h"

#include <string_view>

#include "app/game.h"
#include "app/hit_test.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "scores/high_score_table.h"

namespace scores {

using namespace platform;

namespace {

// The letter grid: rows of seven buttons of 40 x 40 from (200, 200). Buttons 0 to 25 are the
// letters A to Z; button 26 enters a zero byte, which ends the recorded name.
constexpr std::array<gfx::Rect, kLetterButtons> kLetterAreas = [] {
    std::array<gfx::Rect, kLetterButtons> areas{};
    for (int b = 0; b < kLetterButtons; ++b)
        areas[static_cast<size_t>(b)] =
            app::hit_area(200 + 40 * (b % 7), 200 + 40 * (b / 7), 40, 40);
    return areas;
}();
constexpr char button_letter(int b) {
    return b < 26 ? static_cast<char>('A' + b) : '\0';
}

// The "ENTER GALLERY" line, drawn at its area's corner.
constexpr gfx::Rect kEnterArea = app::hit_area(200, 400, 240, 23);
constexpr int kPreviewX = 280, kPreviewStep = 40, kPreviewY = 120;

void load_pictures(Game& game) {
    app::load_screen_picture(game, app::kTallyPicture);
}

void name_entry_hover(Game& game) {
    NameEntryState& e = game.name_entry;
    e.letter_hot = {};
    e.enter_hot = false;
    const int b = app::rect_at(kLetterAreas, game.mouse_x, game.mouse_y);
    if (b >= 0) {
        e.letter_hot[static_cast<size_t>(b)] = true;
        return;
    }
    e.enter_hot = app::point_in_rect(game.mouse_x, game.mouse_y, kEnterArea);
}

void enter_gallery(Game& game) {
    NameEntryState& e = game.name_entry;
    e.enter_hot = false;
    e.letter_hot = {};
    save_high_score(game.profile, game.high_scores,
                    std::string_view(e.entry_name.data(), rules::kScoreNameLength),
                    game.state.total);
    app::change_scene(game, Gallery);
}

void name_entry_click(Game& game) {
    NameEntryState& e = game.name_entry;
    if (e.entry_length == static_cast<int>(rules::kScoreNameLength)) {
        if (e.enter_hot) enter_gallery(game);
        return;
    }
    // The hot flag stays set, so clicking again without moving adds the same letter again.
    for (int b = 0; b < kLetterButtons; ++b) {
        if (e.letter_hot[static_cast<size_t>(b)] &&
            e.entry_length < static_cast<int>(rules::kScoreNameLength))
            e.entry_name[static_cast<size_t>(e.entry_length++)] = button_letter(b);
    }
}

}  // namespace

void name_entry_enter(Game& game) {
    load_pictures(game);
    game.name_entry = NameEntryState{};
}

// The letters entered so far survive a lost display.
void name_entry_restore(Game& game) {
    load_pictures(game);
    app::load_common_sheets(game);
}

void name_entry_update(Game& game) {
    const NameEntryState& e = game.name_entry;
    app::draw_screen_picture(game);
    for (int b = 0; b < kLetterButtons; ++b) {
        const gfx::Rect& area = kLetterAreas[static_cast<size_t>(b)];
        const char letter = button_letter(b);
        // The blank button's label is the empty text.
        if (letter != '\0') app::draw_text(game, area.left, area.top, {&letter, 1});
    }
    for (size_t i = 0; i < rules::kScoreNameLength; ++i) {
        game.sheets.font_sheet.draw_glyph(game.back_buffer(),
                                          kPreviewX + kPreviewStep * static_cast<int>(i), kPreviewY,
                                          e.entry_name[i], true);
    }
    if (e.entry_length == static_cast<int>(rules::kScoreNameLength))
        app::draw_text(game, kEnterArea.left, kEnterArea.top, "ENTER GALLERY");
    app::draw_cursor(game, 0);
}

void name_entry_handle(Game& game, const Message& message) {
    if (message.id == kWmMouseMove) {
        name_entry_hover(game);
    } else if (message.id == kWmLButtonDown) {
        name_entry_click(game);
    }
}

}  // namespace scores
