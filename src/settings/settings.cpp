#include "settings/settings.h"

#include <string>

#include "platform/numbers.h"
#include "settings/profile.h"

namespace settings {

namespace {

// The game has always read its numbers through a 20-character buffer.
constexpr size_t kValueBuffer = 20;

int read_number(const ProfileStore& profile, std::string_view section, std::string_view key,
                std::string_view default_value) {
    return platform::parse_number(profile.read(section, key, default_value, kValueBuffer));
}

}  // namespace

int read_setting(const ProfileStore& profile, std::string_view section, std::string_view key) {
    return read_number(profile, section, key, "0");
}

void write_setting(ProfileStore& profile, Key k, int value) {
    profile.write(k.section, k.key, std::to_string(value));
}

int read_top_score(const ProfileStore& profile) {
    return read_number(profile, "score", "sco0", "500");
}

SavedSettings read_settings(const ProfileStore& profile) {
    SavedSettings s;
    s.show_fps = read_setting(profile, kShowFps) != 0;
    s.sound_on = {read_setting(profile, kMusicOn) != 0, read_setting(profile, kEffectOn) != 0};
    s.sound_level = {read_setting(profile, kMusicLevel), read_setting(profile, kEffectLevel)};
    s.difficulty = read_setting(profile, kDifficulty);
    s.test_loop = read_setting(profile, kTestLoop) != 0;
    s.test_volume = read_setting(profile, kTestVolume);
    return s;
}

bool read_fullscreen(const ProfileStore& profile) {
    return read_number(profile, kFullscreen.section, kFullscreen.key, "1") != 0;
}

void write_fullscreen(ProfileStore& profile, bool fullscreen) {
    profile.write(kFullscreen.section, kFullscreen.key, fullscreen ? "1" : "0");
}

}  // namespace settings
