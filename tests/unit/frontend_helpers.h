#pragma once
// Helpers shared by the options, music test and gallery tests.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "scenes/title_scene.h"
#include "support/test_game.h"

namespace frontend {

// vasul.ini as "section/key" -> value, names lower-cased; empty when the file is missing.
inline std::map<std::string, std::string> read_ini(const std::filesystem::path& dir) {
    std::map<std::string, std::string> values;
    std::ifstream in(dir / "vasul.ini");
    std::string line, section;
    auto trim = [](std::string s) {
        const auto first = s.find_first_not_of(" \t\r");
        const auto last = s.find_last_not_of(" \t\r");
        return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
    };
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.size() > 1 && line.front() == '[' && line.back() == ']') {
            section = lower(trim(line.substr(1, line.size() - 2)));
        } else if (const auto eq = line.find('='); eq != std::string::npos) {
            values[section + "/" + lower(trim(line.substr(0, eq)))] = trim(line.substr(eq + 1));
        }
    }
    return values;
}

// Replaces vasul.ini before start-up reads it.
inline void write_ini(TestGame& t, const std::string& text) {
    std::ofstream(t.dir / "vasul.ini", std::ios::binary | std::ios::trunc) << text;
    t.game->profile.poll();
}

// Forgets what was written so far, so that a test sees exactly what the next action writes.
inline void clear_ini(TestGame& t) {
    std::filesystem::remove(t.dir / "vasul.ini");
}

// A left click strictly inside title item i.
inline void click_title_item(TestGame& t, int item) {
    const gfx::Rect& m = scenes::kMenuItems[static_cast<size_t>(item)];
    t.click(m.left + 54, m.top + 10);
}

inline constexpr int kOptionsItem = 2;
inline constexpr int kGalleryItem = 3;
inline constexpr int kMusicTestItem = 4;

}  // namespace frontend
