#include "settings/settings.h"

#include <string>

#include "app/game.h"
#include "gfx/text.h"
#include "rules/difficulty.h"

namespace settings {

namespace {

// The game has always read its numbers through a 20-character buffer.
constexpr size_t kValueBuffer = 20;

int read_number(Game& game, std::string_view section, std::string_view key,
                std::string_view default_value) {
    return gfx::parse_number(game.profile.read(section, key, default_value, kValueBuffer));
}

}  // namespace

int read_setting(Game& game, std::string_view section, std::string_view key) {
    return read_number(game, section, key, "0");
}

int write_setting(Game& game, std::string_view section, std::string_view key, int value) {
    // A failed write has already been reported; the setting lives on in the game.
    game.profile.write(section, key, std::to_string(value));
    return 1;
}

int read_top_score(Game& game) {
    return read_number(game, "score", "sco0", "500");
}

int adjust_difficulty(Game& game, int delta) {
    game.difficulty = rules::difficulty_level(game.difficulty + delta);
    return 1;
}

void read_startup_settings(Game& game) {
    game.show_fps = read_setting(game, kShowFps) != 0;
    game.sound.enabled[sound::kMusicChannel] = read_setting(game, kMusicOn) != 0;
    game.sound.enabled[sound::kEffectChannel] = read_setting(game, kEffectOn) != 0;
    game.sound.level[sound::kMusicChannel] = read_setting(game, kMusicLevel);
    game.sound.level[sound::kEffectChannel] = read_setting(game, kEffectLevel);
    game.difficulty = read_setting(game, kDifficulty);
    game.music_test.loop = read_setting(game, kTestLoop) != 0;
    game.music_test.volume = read_setting(game, kTestVolume);
}

bool read_fullscreen(const ProfileStore& profile) {
    return gfx::parse_number(
               profile.read(kFullscreen.section, kFullscreen.key, "1", kValueBuffer)) != 0;
}

void write_fullscreen(ProfileStore& profile, bool fullscreen) {
    profile.write(kFullscreen.section, kFullscreen.key, fullscreen ? "1" : "0");
}

}  // namespace settings
