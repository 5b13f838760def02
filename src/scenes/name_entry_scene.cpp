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

void enter_gallery(Game& game) {
    const NameEntryState& e = game.name_entry;
    save_high_score(game.profile, game.high_scores,
                    std::string_view(e.entry_name.data(), rules::kScoreNameLength),
                    game.state.total);
    game.handover.gallery_score = game.state.total;
    app::change_scene(game, Gallery);
}

// The line is offered once the name is full; until then the letters take the clicks. A letter
// stays lit after its click, so clicking again without moving adds it again.
void name_entry_click(Game& game) {
    NameEntryState& e = game.name_entry;
    const int c = e.lit.index;
    if (e.entry_length == static_cast<int>(rules::kScoreNameLength)) {
        if (c == kEnterControl) enter_gallery(game);
    } else if (c >= 0 && c < kLetterButtons) {
        e.entry_name[static_cast<size_t>(e.entry_length++)] = button_letter(c);
    }
}

}  // namespace

void name_entry_enter(Game& game) {
    app::load_screen_picture(game, app::kTallyPicture);
    game.name_entry = NameEntryState{};
}

void name_entry_update(Game& game) {
    const NameEntryState& e = game.name_entry;
    app::draw_screen_picture(game);
    for (int b = 0; b < kLetterButtons; ++b) {
        const gfx::Rect& area = kNameControls[static_cast<size_t>(b)];
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
        scenes::ControlTable{kNameControls, game.name_entry.lit}.point_at(game.mouse_x,
                                                                          game.mouse_y);
    } else if (message.id == kWmLButtonDown) {
        name_entry_click(game);
    }
}

}  // namespace scores
