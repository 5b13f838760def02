#include "settings/settings.h"

#include <algorithm>
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

int read_setting(const ProfileStore& profile, Setting s) {
    const SettingSpec& k = spec(s);
    return read_number(profile, k.section, k.key, std::to_string(k.fallback));
}

void write_setting(ProfileStore& profile, Setting s, int value) {
    profile.write(spec(s).section, spec(s).key, std::to_string(value));
}

int in_range(Setting s, int value) {
    const SettingSpec& k = spec(s);
    if (k.is_switch) return value != 0 ? 1 : 0;
    return std::clamp(value, k.low, k.high);
}

int read_top_score(const ProfileStore& profile) {
    return read_number(profile, "score", "sco0", "500");
}

SavedSettings read_settings(const ProfileStore& profile) {
    SavedSettings saved;
    for (int s = 0; s < kSettingCount; ++s)
        saved.values[static_cast<size_t>(s)] = read_setting(profile, static_cast<Setting>(s));
    return saved;
}

}  // namespace settings
