#pragma once
#include <array>
#include <string_view>

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

// What vasul.ini holds for the game, read once at start-up as the game always has: switches as
// 0 or 1, numbers as written (the game keeps them in range where it uses them), 0 for a
// missing key. Start-up applies it to the game.
struct SavedSettings {
    bool show_fps = false;
    std::array<bool, 2> sound_on{};    // music, effect
    std::array<int, 2> sound_level{};  // music, effect
    int difficulty = 0;
    bool test_loop = false;
    int test_volume = 0;
};
SavedSettings read_settings(const ProfileStore& profile);

// The key's value read like atoi (default 0, at most 19 characters).
int read_setting(const ProfileStore& profile, std::string_view section, std::string_view key);
inline int read_setting(const ProfileStore& profile, Key k) {
    return read_setting(profile, k.section, k.key);
}
// Writes the value as decimal text. A file that cannot be saved is reported by the store; the
// game goes on with the value it holds.
void write_setting(ProfileStore& profile, Key k, int value);
// The best score of the high-score table, [score] sco0, default 500.
int read_top_score(const ProfileStore& profile);

// Whether the game opens full screen: as last chosen, and full screen for a new player.
bool read_fullscreen(const ProfileStore& profile);
// Remembers the choice; the file's other lines stay as they are.
void write_fullscreen(ProfileStore& profile, bool fullscreen);

}  // namespace settings
