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
        EXPECT_EQ(settings::read_setting(profile, settings::kDifficulty), c.expected) << c.value;
    }
    put("[mode]\nlevels=4\n");
    EXPECT_EQ(settings::read_setting(profile, settings::kDifficulty), 0) << "missing";
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
    // In the table's order; the window's choice is missing, so a new player's full screen.
    EXPECT_EQ(s.values, (std::array<int, settings::kSettingCount>{3, 5, 0, -3, 12, 7, -1, 11, 1, 0}));
    // Reading writes nothing: the file keeps its 7 until the player changes it.
    EXPECT_EQ(slurp(), before);
}

TEST_F(Settings, StartUpWithoutAFileGivesTheFallbacks) {
    const settings::SavedSettings s = settings::read_settings(profile);
    EXPECT_EQ(s.values, (std::array<int, settings::kSettingCount>{0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
    EXPECT_FALSE(fs::exists(dir / "vasul.ini"));
}

// For the run, a switch is on for any number but 0 and a number stays within its range.
TEST(SettingsRange, SwitchesAndNumbersComeIntoRange) {
    using namespace settings;
    struct Case {
        Setting setting;
        int saved, run;
    };
    for (const Case& c :
         {Case{kShowFps, 3, 1}, Case{kMusicOn, -1, 1}, Case{kEffectOn, 0, 0},
          Case{kMusicLevel, -3, 0}, Case{kEffectLevel, 12, 9}, Case{kEffectLevel, 9, 9},
          Case{kDifficulty, 7, 2}, Case{kDifficulty, -1, 0}, Case{kDifficulty, 1, 1},
          Case{kTestVolume, 11, 9}, Case{kFullscreen, 0, 0}})
        EXPECT_EQ(in_range(c.setting, c.saved), c.run) << spec(c.setting).key << "=" << c.saved;
}

}  // namespace
