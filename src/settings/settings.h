#pragma once
#include <string_view>

struct Game;

namespace settings {

class ProfileStore;

// The settings keys: section, key.
struct Key {
    const char* section;
    const char* key;
};
inline constexpr Key kShowFps{"cg", "fps"};
inline constexpr Key kMusicOn{"music", "bgmon"};
inline constexpr Key kEffectOn{"music", "seon"};
inline constexpr Key kMusicLevel{"music", "bgm"};
inline constexpr Key kEffectLevel{"music", "se"};
inline constexpr Key kDifficulty{"mode", "level"};
inline constexpr Key kTestLoop{"sound", "loop"};
inline constexpr Key kTestVolume{"sound", "vol"};
// The window's own choice, switched with Alt+Enter or F11: a section of its own, so that the
// game's settings above keep their meaning.
inline constexpr Key kFullscreen{"display", "fullscreen"};

// The key's value read like atoi (default 0, at most 19 characters).
int read_setting(Game& game, std::string_view section, std::string_view key);
// Writes the value as decimal text; returns 1 as the game always has.
int write_setting(Game& game, std::string_view section, std::string_view key, int value);
inline int read_setting(Game& game, Key k) {
    return read_setting(game, k.section, k.key);
}
inline int write_setting(Game& game, Key k, int value) {
    return write_setting(game, k.section, k.key, value);
}
// The best score of the high-score table, [score] sco0, default 500.
int read_top_score(Game& game);
// Adds delta to the difficulty and keeps it within 0..2.
int adjust_difficulty(Game& game, int delta);
// Reads every setting into the game at start-up (switches as 0 or 1, values unclamped).
void read_startup_settings(Game& game);

// Whether the game opens full screen: as last chosen, and full screen for a new player.
bool read_fullscreen(const ProfileStore& profile);
// Remembers the choice; the file's other lines stay as they are.
void write_fullscreen(ProfileStore& profile, bool fullscreen);

}  // namespace settings
