#include "scores/high_score_table.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/game.h"
#include "frontend_helpers.h"
#include "platform/headless/headless_platform.h"
#include "settings/settings.h"
#include "support/fixture_pack.h"
#include "support/score_tables.h"
#include "support/test_game.h"

namespace {

using rules::ScoreTable;
using rules_test::falling_score_table;
using rules_test::name_at;

// The table as a settings file, with check values that match unless told otherwise.
std::string table_ini(const ScoreTable& t, bool valid = true) {
    const rules::CheckValues checks = rules::check_values(t);
    std::string text = "[score]\nsum0=" + std::to_string(checks.first + !valid) +
                       "\nsum1=" + std::to_string(checks.second) + "\n";
    for (int i = 0; i < 10; ++i) {
        text += "nam" + std::to_string(i) + "=" + name_at(t, i) + "\nsco" + std::to_string(i) +
                "=" + std::to_string(t.scores[static_cast<size_t>(i)]) + "\n";
    }
    return text;
}

void write_ini(TestGame& t, const std::string& text) {
    std::ofstream(t.dir / "vasul.ini", std::ios::binary | std::ios::trunc) << text;
    t.game->profile.poll();
}

std::string key(const char* stem, int i) {
    return std::string("score/") + stem + std::to_string(i);
}

}  // namespace

TEST(HighScoreTable, LoadChecksTheStoredValues) {
    struct Case {
        const char* what;
        std::string ini;
        bool valid;
    };
    ScoreTable edited = falling_score_table();
    const std::string valid = table_ini(edited);
    std::string score_edited = valid;
    score_edited.replace(score_edited.find("sco3=700"), 8, "sco3=701");
    std::string name_edited = valid;
    name_edited.replace(name_edited.find("nam5=RA5"), 8, "nam5=RB5");
    const Case cases[] = {
        {"no file", "", false},
        {"the default table", table_ini(rules::default_score_table()), true},
        {"a valid table", valid, true},
        {"a score edited by hand", score_edited, false},
        {"a name edited by hand", name_edited, false},
        {"a check value edited by hand", table_ini(edited, false), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestGame t(false);
        if (!c.ini.empty()) write_ini(t, c.ini);
        EXPECT_EQ(scores::load_high_scores(t.game->profile, t.game->high_scores), c.valid);
    }
}

TEST(HighScoreTable, ResetWritesTheDefaultTableInOrder) {
    TestGame t(false);
    EXPECT_FALSE(scores::load_high_scores(t.game->profile, t.game->high_scores));
    scores::reset_high_scores(t.game->profile);
    EXPECT_TRUE(scores::load_high_scores(t.game->profile, t.game->high_scores));
    std::ifstream in(t.dir / "vasul.ini");
    std::string line, keys;
    while (std::getline(in, line)) keys += line.substr(0, line.find('=')) + " ";
    EXPECT_EQ(keys,
              "[score] sum0 sum1 nam0 sco0 nam1 sco1 nam2 sco2 nam3 sco3 nam4 sco4 nam5 sco5 "
              "nam6 sco6 nam7 sco7 nam8 sco8 nam9 sco9 ");
}

TEST(HighScoreTable, SaveRewritesTheWholeTableWithFreshCheckValues) {
    struct Case {
        const char* what;
        std::string ini;
        int score;
        std::map<std::string, std::string> expect;
    };
    const std::string falling = table_ini(falling_score_table());
    const Case cases[] = {
        {"equal to rank 3",
         falling,
         700,
         {{"nam3", "NEW"}, {"sco3", "700"}, {"nam4", "RA3"}, {"sco9", "200"}}},
        {"below rank 9: every key still written", falling, 5, {{"nam9", "RA9"}, {"sco9", "100"}}},
        // The first game ever, or a table edited by hand: the default table takes the entry.
        {"no table yet", "", 600, {{"nam0", "NEW"}, {"sco0", "600"}, {"nam1", "AAA"}}},
        {"a table that fails its check",
         table_ini(falling_score_table(), false),
         5,
         {{"nam0", "AAA"}, {"sco0", "500"}, {"nam9", "AAA"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestGame t(false);
        write_ini(t, c.ini + "[other]\nkept=1\n");
        scores::save_high_score(t.game->profile, t.game->high_scores, "NEW", c.score);
        auto ini = frontend::read_ini(t.dir);
        for (int i = 0; i < 10; ++i) {
            EXPECT_TRUE(ini.count(key("nam", i)) && ini.count(key("sco", i))) << i;
        }
        for (const auto& [k, v] : c.expect) EXPECT_EQ(ini["score/" + k], v) << k;
        EXPECT_EQ(ini["other/kept"], "1");
        EXPECT_TRUE(scores::load_high_scores(t.game->profile, t.game->high_scores));
    }
}

TEST(HighScoreTable, SavedNameEndsAtItsZeroByte) {
    TestGame t(false);
    scores::reset_high_scores(t.game->profile);
    scores::save_high_score(t.game->profile, t.game->high_scores, std::string("A\0B", 3), 900);
    EXPECT_EQ(frontend::read_ini(t.dir)["score/nam0"], "A");
    EXPECT_TRUE(scores::load_high_scores(t.game->profile, t.game->high_scores));
}

TEST(HighScoreTable, ReadEntryDefaultsAndLimits) {
    TestGame t(false);
    write_ini(t, "[score]\nnam0=ABCDEF\nsco0=65000\nnam1=Z\nsco1=12xy\n");
    struct Case {
        int rank;
        const char* name;  // what the buffer holds afterwards
        int score;
    };
    const Case cases[] = {
        {0, "ABC", 65000},      {1, "Z", 12},           {2, "AAA", 500},
        {10, "untouched", 500}, {-1, "untouched", 500},
    };
    for (const Case& c : cases) {
        std::string name = "untouched";
        EXPECT_EQ(scores::read_high_score_entry(t.game->profile, c.rank, name), c.score) << c.rank;
        EXPECT_EQ(name, c.name) << c.rank;
    }
}

// A name edited by hand into quotes, blanks and all, passes its check; a save must write it
// so that it reads back the same, or the next look at the table throws every rank away.
TEST(HighScoreTable, AQuotedHandEditedNameSurvivesASave) {
    struct Case {
        const char* in_file;
        const char* name;
    };
    const Case cases[] = {
        {"\" AB\"", " AB"}, {"\"AB \"", "AB "}, {"\"'A'\"", "'A'"}, {"'\"A\"'", "\"A\""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in_file);
        ScoreTable table = falling_score_table();
        std::memcpy(table.names[0].data(), c.name, std::strlen(c.name));
        std::string ini = table_ini(table);
        ini.replace(ini.find("nam0=") + 5, std::strlen(c.name), c.in_file);
        TestGame t(false);
        write_ini(t, ini);
        ASSERT_TRUE(scores::load_high_scores(t.game->profile, t.game->high_scores));
        scores::save_high_score(t.game->profile, t.game->high_scores, "NEW", 650);
        t.game->profile.poll();
        ASSERT_TRUE(scores::load_high_scores(t.game->profile, t.game->high_scores));
        EXPECT_EQ(name_at(t.game->high_scores, 0), c.name);
        EXPECT_EQ(name_at(t.game->high_scores, 4), "NEW");
    }
}

// A name the file cannot hold (a carriage return edited in) stops the save before any key
// is written, rather than leaving new check values over old names.
TEST(HighScoreTable, ATableThatCannotBeStoredIsNotWrittenInPart) {
    ScoreTable table = falling_score_table();
    std::memcpy(table.names[3].data(), "A\rB", 3);
    std::string ini = table_ini(table);
    TestGame t(false);
    write_ini(t, ini);
    ASSERT_TRUE(scores::load_high_scores(t.game->profile, t.game->high_scores));
    testing::internal::CaptureStderr();
    scores::save_high_score(t.game->profile, t.game->high_scores, "NEW", 950);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(fixture::file_text(t.dir / "vasul.ini"), ini);
}

namespace {

// The disk that counts the replacements of the file.
int ini_replacements = 0;
platform::DiskCalls counting_disk() {
    platform::DiskCalls disk = platform::real_disk();
    disk.rename = [](const char* from, const char* to) {
        ++ini_replacements;
        return ::rename(from, to);
    };
    return disk;
}

}  // namespace

TEST(HighScoreTable, SaveAndResetReplaceTheFileOnce) {
    TestGame t(false);
    std::string big = "[pad]\n";
    for (int i = 0; i < 2000; ++i)
        big += "k" + std::to_string(i) + "=" + std::string(40, 'x') + "\n";
    write_ini(t, big);
    static const platform::DiskCalls disk = counting_disk();
    t.game->profile.use_disk(disk);
    ini_replacements = 0;
    scores::reset_high_scores(t.game->profile);
    EXPECT_EQ(ini_replacements, 1);
    scores::save_high_score(t.game->profile, t.game->high_scores, "NEW", 900);
    EXPECT_EQ(ini_replacements, 2);
    EXPECT_TRUE(scores::load_high_scores(t.game->profile, t.game->high_scores));
}

// A full disk while the table is saved: the old table stays whole, one warning for the
// whole table and none for the settings written after it, and the game plays on.
TEST(HighScoreTable, AFullDiskKeepsTheOldTableWarnsOnceAndPlaysOn) {
    TestGame t(false);
    t.start();
    scores::reset_high_scores(t.game->profile);
    const std::string before = fixture::file_text(t.dir / "vasul.ini");
    platform::DiskCalls full = platform::real_disk();
    full.write = [](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    t.game->profile.use_disk(full);
    testing::internal::CaptureStderr();
    scores::save_high_score(t.game->profile, t.game->high_scores, "NEW", 900);
    settings::write_setting(t.game->profile, settings::kDifficulty, 2);
    t.passes(10);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("vasul.ini"), std::string::npos) << err;
    EXPECT_EQ(fixture::file_text(t.dir / "vasul.ini"), before);
    EXPECT_FALSE(t.ended());
    EXPECT_TRUE(scores::load_high_scores(t.game->profile, t.game->high_scores));

    t.game->profile.use_disk(platform::real_disk());
    scores::save_high_score(t.game->profile, t.game->high_scores, "NEW", 900);
    EXPECT_EQ(frontend::read_ini(t.dir)["score/nam0"], "NEW");
}

// The game saving scores and settings in a loop is killed at random moments: vasul.ini is
// always one whole version the loop writes, and what a killed writer leaves behind is one
// hidden temporary file, which the next writer removes.
TEST(HighScoreTable, KillDuringSavesLeavesOneWholeVersion) {
    const std::filesystem::path dir = fixture::make_temp_dir("kill");
    const std::filesystem::path ini = dir / "vasul.ini";
    // Each step of the loop, so that every version it writes can be taken down.
    auto save_step = [](Game& game, int n) {
        switch (n % 3) {
            case 0:
                scores::reset_high_scores(game.profile);
                break;
            case 1:
                scores::save_high_score(game.profile, game.high_scores, "NEW", 900);
                break;
            default:
                settings::write_setting(game.profile, settings::kDifficulty, n / 3 % 2);
                break;
        }
    };
    std::set<std::string> versions;
    {
        platform::HeadlessPlatform platform;
        Game game(platform, dir);
        for (int n = 0; n < 9; ++n) {
            save_step(game, n);
            versions.insert(fixture::file_text(ini));
        }
    }
    auto strays = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir)) {
            if (e.path() != ini) names.push_back(e.path().filename());
        }
        return names;
    };

    std::mt19937 random(7);
    constexpr int kRounds = 250;
    for (int round = 0; round < kRounds; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(30);  // never outlive a test run that went wrong
            platform::HeadlessPlatform platform;
            Game game(platform, dir);
            // Every other round writes the other difficulty.
            for (int n = 3 * (round % 2);; ++n) save_step(game, n);
        }
        // From before the first write to a few cycles in.
        const auto delay = random() % 12000;
        ::usleep(static_cast<useconds_t>(delay));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        ASSERT_EQ(versions.count(fixture::file_text(ini)), 1u) << "round " << round << ":\n"
                                                               << fixture::file_text(ini);
        const auto left = strays();
        ASSERT_LE(left.size(), 1u) << "round " << round;
        if (!left.empty()) {
            EXPECT_TRUE(left[0].starts_with(".vasul.ini.")) << left[0];
        }
    }
    platform::HeadlessPlatform platform;
    Game game(platform, dir);
    EXPECT_TRUE(scores::load_high_scores(game.profile, game.high_scores));
    save_step(game, 1);
    EXPECT_TRUE(strays().empty());
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
