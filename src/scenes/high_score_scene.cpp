#include "scenes/high_score_scene.h"

#include <string>

#include "app/game.h"
#include "app/picture_ids.h"
#include "app/pictures.h"
#include "gfx/text.h"
#include "scores/high_score_table.h"

namespace scores {

void high_scores_enter(Game& game) {
    app::load_screen_picture(game, app::kHighScorePicture);
}

void high_scores_update(Game& game) {
    app::draw_screen_picture(game);
    app::draw_back_button(game);
    // Every frame shows the file as it is now, not a copy taken on entry.
    std::string name;
    for (int i = 0; i < rules::kScoreRanks; ++i) {
        const int y = kFirstRowY + kRowStep * i;
        const int score = read_high_score_entry(game.profile, i, name);
        game.sheets.font_sheet.draw_text(game.back_buffer(), kNameX, y, name, true);
        game.sheets.font_sheet.draw_text(game.back_buffer(), kScoreX, y, gfx::format_5digits(score),
                                         true);
    }
    app::draw_cursor(game, 0);
}

}  // namespace scores
