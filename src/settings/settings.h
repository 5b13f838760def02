#pragma once
#include <array>
#include <string_view>

#include "rules/difficulty.h"
#include "sound/sound.h"

namespace settings {

class ProfileStore;

// Every value vasul.ini keeps for the player, by its place in the table below.
enum Setting : int {
    kShowFps,
    kMusicOn,
    kEffectOn,
    kMusicLevel,
    kEffectLevel,
    kDifficulty,
    kTestLoop,
    kTestVolume,
    kFullscreen,
    kYourPictures,
    kSettingCount,
};

// A setting's line in vasul.ini, what a missing line reads as, and the range the game keeps the
// value in for a run. A switch is on for any number but 0.
struct SettingSpec {
    const char* section;
    const char* key;
    int fallback;
    bool is_switch;
    int low;
    int high;
};

inline constexpr int kLastVolumeStep = static_cast<int>(sound::kVolumeSteps.size()) - 1;
inline constexpr int kLastDifficulty = static_cast<int>(rules::kDifficultyNames.size()) - 1;

inline constexpr std::array<SettingSpec, kSettingCount> kSettingTable = {{
    {"cg", "fps", 0, true, 0, 1},
    {"music", "bgmon", 0, true, 0, 1},
    {"music", "seon", 0, true, 0, 1},
    {"music", "bgm", 0, false, 0, kLastVolumeStep},
    {"music", "se", 0, false, 0, kLastVolumeStep},
    {"mode", "level", 0, false, 0, kLastDifficulty},
    {"sound", "loop", 0, true, 0, 1},
    {"sound", "vol", 0, false, 0, kLastVolumeStep},
    // The window's own choice, switched with Alt+Enter or F11: a section of its own, so that
    // the game's settings above keep their meaning. A new player starts full screen.
    {"display", "fullscreen", 1, true, 0, 1},
    // The stages take the player's own pictures instead of the game's.
    {"pictures", "yours", 0, true, 0, 1},
}};

inline constexpr const SettingSpec& spec(Setting s) {
    return kSettingTable[static_cast<size_t>(s)];
}

// What vasul.ini holds, read once at start-up as the game always has: each number like atoi,
// the fallback for a missing key. Nothing is clamped here; the file keeps what it holds.
struct SavedSettings {
    std::array<int, kSettingCount> values{};
    int operator[](Setting s) const { return values[static_cast<size_t>(s)]; }
};
SavedSettings read_settings(const ProfileStore& profile);

// The value as the game uses it for a run: a switch 0 or 1, a number within its range.
int in_range(Setting s, int value);

// One key's value read like atoi (at most 19 characters), its fallback when missing.
int read_setting(const ProfileStore& profile, Setting s);
// Writes the value as decimal text. A file that cannot be saved is reported by the store; the
// game goes on with the value it holds.
void write_setting(ProfileStore& profile, Setting s, int value);
// Whether the game opens full screen, as the player last chose; and remembering the choice.
inline bool read_fullscreen(const ProfileStore& profile) {
    return read_setting(profile, kFullscreen) != 0;
}
inline void write_fullscreen(ProfileStore& profile, bool fullscreen) {
    write_setting(profile, kFullscreen, fullscreen ? 1 : 0);
}
// The best score of the high-score table, [score] sco0, default 500.
int read_top_score(const ProfileStore& profile);

}  // namespace settings
