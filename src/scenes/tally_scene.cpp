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

constexpr int kTallyLabelX = 225;
constexpr int kTallyCounterX = 337;
constexpr int kTallyNoteX = 417;

void draw_line(Game& game, int y, const char* label, int value, const char* note) {
    app::draw_text(game, kTallyLabelX, y, label);
    app::draw_text(game, kTallyCounterX, y, gfx::format_5digits(value));
    if (note) app::draw_text(game, kTallyNoteX, y, note);
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
    draw_line(game, 178, "SCORE:", s.shown_score, nullptr);
    draw_line(game, 203, "BONUS:", s.shown_time_bonus, "(TIME X 10)");
    draw_line(game, 228, "RENSA:", s.shown_chain_bonus, "(RENSA X100)");
    draw_line(game, 253, "TOTAL:", s.total, nullptr);
    if (rules::tally_done(s)) {
        app::draw_text(game, 205, 293, "ENTER GALLERY");
        if (s.total > 0) app::draw_text(game, 195, 333, "RECORD HISCORE");
    } else {
        app::draw_text(game, 175, 293, "NOW COUNTING. . .");
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
