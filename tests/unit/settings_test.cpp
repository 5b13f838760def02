#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/game.h"
#include "platform/headless/headless_platform.h"
#include "support/fixture_pack.h"

namespace fs = std::filesystem;

namespace {

class Settings : public testing::Test {
  protected:
    ~Settings() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // Writes vasul.ini and lets the game see it, as the main loop's poll would.
    void put(const std::string& text) {
        std::ofstream(dir / "vasul.ini", std::ios::binary | std::ios::trunc) << text;
        game.profile.poll();
    }

    std::string slurp() const { return fixture::file_text(dir / "vasul.ini"); }

    fs::path dir = fixture::make_temp_dir("settings");
    platform::HeadlessPlatform platform;
    Game game{platform, dir};
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
        EXPECT_EQ(settings::read_setting(game, "mode", "level"), c.expected) << c.value;
    }
    EXPECT_EQ(settings::read_setting(game, "mode", "missing"), 0);
}

TEST_F(Settings, TopScoreDefaultsTo500) {
    EXPECT_EQ(settings::read_top_score(game), 500);
    put("[score]\nsum0=1\n");
    EXPECT_EQ(settings::read_top_score(game), 500);
    put("[SCORE]\nSco0 = 1234\n");
    EXPECT_EQ(settings::read_top_score(game), 1234);
}

TEST_F(Settings, WriteSettingStoresDecimalText) {
    put("[mode]\r\nlevel=7\r\n");
    EXPECT_EQ(settings::write_setting(game, settings::kDifficulty, -5), 1);
    EXPECT_EQ(settings::write_setting(game, settings::kMusicLevel, 9), 1);
    EXPECT_EQ(slurp(), "[mode]\r\nlevel=-5\r\n[music]\r\nbgm=9\r\n");
    EXPECT_EQ(settings::read_setting(game, settings::kDifficulty), -5);
}

TEST_F(Settings, WriteSettingSaysOneEvenWhenTheFileCannotBeSaved) {
    // A missing folder would be made by the write; one under a plain file cannot be.
    std::ofstream(dir / "file") << "x";
    platform::HeadlessPlatform p;
    Game nowhere(p, dir / "file" / "folder");
    testing::internal::CaptureStderr();
    EXPECT_EQ(settings::write_setting(nowhere, settings::kShowFps, 1), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("vasul.ini"), std::string::npos);
}

TEST_F(Settings, StartUpReadsEveryKeyUnclamped) {
    put("[cg]\nfps=3\n[music]\nbgmon=5\nseon=0\nbgm=-3\nse=12\n"
        "[mode]\nlevel=7\n[sound]\nloop=-1\nvol=11\n");
    settings::read_startup_settings(game);
    EXPECT_TRUE(game.show_fps);
    EXPECT_TRUE(game.sound.enabled[0]);
    EXPECT_FALSE(game.sound.enabled[1]);
    EXPECT_EQ(game.sound.level[0], -3);
    EXPECT_EQ(game.sound.level[1], 12);
    EXPECT_EQ(game.difficulty, 7);
    EXPECT_TRUE(game.music_test.loop);
    EXPECT_EQ(game.music_test.volume, 11);

    // The clamp holds for the run only: the file keeps its 7 until the player changes it.
    const std::string before = slurp();
    settings::adjust_difficulty(game, 0);
    EXPECT_EQ(game.difficulty, 2);
    EXPECT_EQ(slurp(), before);
}

TEST_F(Settings, StartUpWithoutAFileGivesZeros) {
    game.show_fps = true;
    game.sound.enabled = {true, true};
    game.sound.level = {5, 5};
    game.difficulty = 1;
    game.music_test = {.track = 0, .playing = false, .loop = true, .volume = 4};
    settings::read_startup_settings(game);
    EXPECT_FALSE(game.show_fps);
    EXPECT_EQ(game.sound.enabled, (std::array<bool, 2>{false, false}));
    EXPECT_EQ(game.sound.level, (std::array<int, 2>{0, 0}));
    EXPECT_EQ(game.difficulty, 0);
    EXPECT_FALSE(game.music_test.loop);
    EXPECT_EQ(game.music_test.volume, 0);
    EXPECT_FALSE(fs::exists(dir / "vasul.ini"));
}

TEST_F(Settings, AdjustDifficultyClampsToTheThreeLevels) {
    const struct {
        int start, delta, expected;
    } cases[] = {{0, 1, 1}, {1, 1, 2},  {2, 1, 2},  {1, -1, 0}, {0, -1, 0},
                 {7, 0, 2}, {-4, 0, 0}, {3, -1, 2}, {-1, 1, 0}};
    for (const auto& c : cases) {
        game.difficulty = c.start;
        EXPECT_EQ(settings::adjust_difficulty(game, c.delta), 1);
        EXPECT_EQ(game.difficulty, c.expected) << c.start << " + " << c.delta;
    }
}

}  // namespace
