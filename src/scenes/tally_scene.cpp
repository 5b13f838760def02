#include "scenes/tally_scene.h"

#include <string>

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "gfx/text.h"
#include "rules/tally.h"
#include "sound/sound.h"

namespace puzzle {

using namespace platform;

namespace {

constexpr int kTallyLabelX = 225;
constexpr int kTallyCounterX = 337;
constexpr int kTallyNoteX = 417;

bool inside(const Game& game, const gfx::Rect& area) {
    return app::point_in_rect(game.mouse_x, game.mouse_y, area);
}

void draw_line(Game& game, int y, const char* label, int value, const char* note) {
    app::draw_text(game, kTallyLabelX, y, label);
    app::draw_text(game, kTallyCounterX, y, gfx::format_5digits(value));
    if (note) app::draw_text(game, kTallyNoteX, y, note);
}

void tally_hover(Game& game) {
    rules::GameState& s = game.state;
    s.gallery_hover = false;
    s.record_hover = false;
    if (inside(game, kGalleryOffer)) {
        s.gallery_hover = true;
    } else if (inside(game, kRecordOffer) && s.total > 0) {
        s.record_hover = true;
    }
}

void tally_click(Game& game) {
    if (!rules::tally_done(game.state)) return;
    if (game.state.gallery_hover) {
        app::change_scene(game, Gallery);
    } else if (game.state.record_hover) {
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
    app::load_screen_picture(game, app::kTallyPicture);
}

void tally_restore(Game& game) {
    tally_enter(game);
    app::load_common_sheets(game);
}

}  // namespace puzzle
