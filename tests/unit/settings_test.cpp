#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "settings/profile.h"
#include "support/fixture_pack.h"

namespace fs = std::filesystem;

namespace {

class Settings : public testing::Test {
  protected:
    ~Settings() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // Writes vasul.ini and lets the store see it, as the main loop's poll would.
    void put(const std::string& text) {
        std::ofstream(dir / "vasul.ini", std::ios::binary | std::ios::trunc) << text;
        profile.poll();
    }

    std::string slurp() const { return fixture::file_text(dir / "vasul.ini"); }

    fs::path dir = fixture::make_temp_dir("settings");
    settings::ProfileStore profile{dir / "vasul.ini"};
};

TEST_F(Settings, ReadSettingConvertsLikeAtoi) {
    const struct {
        const char* value;
        int expected;
    } cases[] = {
        {"12abc", 12}, {"abc", 0},
        {"-3", -3},    {"+7", 7},
        {"", 0},       {"\"42\"", 42},
        {"- 5", 0},    {"0x1F", 0},
        {"  9 9", 9},  {"00000000000000000012", 1},  // only 19 characters are read
    };
    for (const auto& c : cases) {
        put(std::string("[mode]\nlevel=") + c.value + "\n");
        EXPECT_EQ(settings::read_setting(profile, "mode", "level"), c.expected) << c.value;
    }
    EXPECT_EQ(settings::read_setting(profile, "mode", "missing"), 0);
}

TEST_F(Settings, TopScoreDefaultsTo500) {
    EXPECT_EQ(settings::read_top_score(profile), 500);
    put("[score]\nsum0=1\n");
    EXPECT_EQ(settings::read_top_score(profile), 500);
    put("[SCORE]\nSco0 = 1234\n");
    EXPECT_EQ(settings::read_top_score(profile), 1234);
}

TEST_F(Settings, WriteSettingStoresDecimalText) {
    put("[mode]\r\nlevel=7\r\n");
    settings::write_setting(profile, settings::kDifficulty, -5);
    settings::write_setting(profile, settings::kMusicLevel, 9);
    EXPECT_EQ(slurp(), "[mode]\r\nlevel=-5\r\n[music]\r\nbgm=9\r\n");
    EXPECT_EQ(settings::read_setting(profile, settings::kDifficulty), -5);
}

TEST_F(Settings, AFileThatCannotBeSavedIsReported) {
    // A missing folder would be made by the write; one under a plain file cannot be.
    std::ofstream(dir / "file") << "x";
    settings::ProfileStore nowhere(dir / "file" / "folder" / "vasul.ini");
    testing::internal::CaptureStderr();
    settings::write_setting(nowhere, settings::kShowFps, 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("vasul.ini"), std::string::npos);
}

TEST_F(Settings, StartUpReadsEveryKeyUnclamped) {
    put("[cg]\nfps=3\n[music]\nbgmon=5\nseon=0\nbgm=-3\nse=12\n"
        "[mode]\nlevel=7\n[sound]\nloop=-1\nvol=11\n");
    const std::string before = slurp();
    const settings::SavedSettings s = settings::read_settings(profile);
    EXPECT_TRUE(s.show_fps);
    EXPECT_EQ(s.sound_on, (std::array<bool, 2>{true, false}));
    EXPECT_EQ(s.sound_level, (std::array<int, 2>{-3, 12}));
    EXPECT_EQ(s.difficulty, 7);
    EXPECT_TRUE(s.test_loop);
    EXPECT_EQ(s.test_volume, 11);
    // Reading writes nothing: the file keeps its 7 until the player changes it.
    EXPECT_EQ(slurp(), before);
}

TEST_F(Settings, StartUpWithoutAFileGivesZeros) {
    const settings::SavedSettings s = settings::read_settings(profile);
    EXPECT_FALSE(s.show_fps);
    EXPECT_EQ(s.sound_on, (std::array<bool, 2>{false, false}));
    EXPECT_EQ(s.sound_level, (std::array<int, 2>{0, 0}));
    EXPECT_EQ(s.difficulty, 0);
    EXPECT_FALSE(s.test_loop);
    EXPECT_EQ(s.test_volume, 0);
    EXPECT_FALSE(fs::exists(dir / "vasul.ini"));
}

}  // namespace
