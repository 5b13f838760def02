// Placeholder until the settings store lands.
#include "settings/settings.h"

#include "app/game.h"

namespace settings {
int read_setting(Game&, std::string_view, std::string_view) { return 0; }
int write_setting(Game&, std::string_view, std::string_view, int) { return 1; }
int read_top_score(Game&) { return 500; }
int adjust_difficulty(Game& game, int delta) {
    game.difficulty += delta;
    if (game.difficulty >= 3) game.difficulty = 2;
    else if (game.difficulty < 0) game.difficulty = 0;
    return 1;
}
void read_startup_settings(Game&) {}
}  // namespace settings
