#include "scenes/tally_scene.h"

#include <string>

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "gfx/text.h"
#include "rules/tally.h"
#include "scenes/controls.h"
#include "sound/sound.h"

namespace puzzle {

using namespace platform;
using scenes::Lit;

namespace {

void draw_line(Game& game, const TallyRow& row, int value) {
    app::draw_text(game, kTallyLabelX, row.y, row.label);
    app::draw_text(game, kTallyCounterX, row.y, gfx::format_5digits(value));
    if (row.note) app::draw_text(game, kTallyNoteX, row.y, row.note);
}

// Without a total there is nothing to record, and its offer does not light.
void tally_hover(Game& game) {
    Lit& lit = game.tally.lit;
    scenes::ControlTable{kTallyOffers, lit}.point_at(game.mouse_x, game.mouse_y);
    if (lit.on(kRecordOffer) && game.state.total <= 0) lit.clear();
}

void tally_click(Game& game) {
    if (!rules::tally_done(game.state)) return;
    if (game.tally.lit.on(kGalleryOffer)) {
        game.handover.gallery_score = game.state.total;
        app::change_scene(game, Gallery);
    } else if (game.tally.lit.on(kRecordOffer)) {
        app::change_scene(game, NameEntry);
    }
}

}  // namespace

void tally_handle(Game& game, const Message& message) {
    if (message.id == kWmMouseMove) {
        tally_hover(game);
    } else if (message.id == kWmLButtonDown) {
        tally_click(game);
    }
}

void tally_update(Game& game) {
    rules::GameState& s = game.state;
    sound::sound_stop_all(game.mixer());
    app::draw_screen_picture(game);
    rules::tally_step(s, game.random);
    const std::array<int, 4> values = {s.shown_score, s.shown_time_bonus, s.shown_chain_bonus,
                                       s.total};
    for (size_t i = 0; i < kTallyRows.size(); ++i) draw_line(game, kTallyRows[i], values[i]);
    if (rules::tally_done(s)) {
        app::draw_text(game, kGalleryOfferText);
        if (s.total > 0) app::draw_text(game, kRecordOfferText);
    } else {
        app::draw_text(game, kCountingText);
    }
    app::draw_cursor(game, 0);
}

void tally_enter(Game& game) {
    game.tally.lit.clear();
    tally_restore(game);
}

void tally_restore(Game& game) {
    app::load_screen_picture(game, app::kTallyPicture);
}

}  // namespace puzzle
