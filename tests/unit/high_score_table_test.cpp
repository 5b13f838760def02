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
#include "support/test_game.h"

namespace {

using scores::HighScoreTable;

struct Entry {
    std::string name;
    int score;
};

HighScoreTable make_table(const std::vector<Entry>& entries) {
    HighScoreTable t;
    for (size_t i = 0; i < entries.size(); ++i) {
        std::memcpy(t.names[i].data(), entries[i].name.data(),
                    std::min<size_t>(entries[i].name.size(), 4));
        t.scores[i] = entries[i].score;
    }
    return t;
}

// Ten ranks with falling scores 1000, 900, ... 100 and names RA0 ... RA9.
HighScoreTable falling_table() {
    std::vector<Entry> e;
    for (int i = 0; i < 10; ++i) e.push_back({"RA" + std::to_string(i), 1000 - 100 * i});
    return make_table(e);
}

std::string name_at(const HighScoreTable& t, int rank) {
    const auto& slot = t.names[static_cast<size_t>(rank)];
    return {slot.data(), strnlen(slot.data(), slot.size())};
}

// The table as a settings file, with check values that match unless told otherwise.
std::string table_ini(const HighScoreTable& t, bool valid = true) {
    const int h = scores::high_score_checksum(t);
    std::string text = "[score]\nsum0=" + std::to_string(scores::first_check_value(h) + !valid) +
                       "\nsum1=" + std::to_string(scores::second_check_value(h)) + "\n";
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

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string key(const char* stem, int i) {
    return std::string("score/") + stem + std::to_string(i);
}

}  // namespace

TEST(HighScoreTable, DefaultTableSumsToItsCheckValues) {
    const HighScoreTable d = scores::default_high_scores();
    EXPECT_EQ(scores::high_score_checksum(d), 6950);
    EXPECT_EQ(scores::first_check_value(6950), 10057);
    EXPECT_EQ(scores::second_check_value(6950), 237);
    // The largest sum keeps both products inside 32 bits.
    EXPECT_EQ(scores::first_check_value(65535), static_cast<int>(65535LL * 16787 % 16223));
}

TEST(HighScoreTable, NameBytesCountSignedAndTheSumKeepsSixteenBits) {
    struct Case {
        const char* what;
        HighScoreTable table;
        int h;
    };
    HighScoreTable high_bytes = scores::default_high_scores();
    high_bytes.names[0] = {'\xFF', '\x80', 'A', 0, 0};  // -1 and -128 instead of 65 and 65
    HighScoreTable wraps = scores::default_high_scores();
    wraps.scores[4] = 65536 + 500;  // adds a whole 65536: no change
    HighScoreTable negative = scores::default_high_scores();
    negative.scores[9] = -7000;  // 6950 - 500 - 7000 wraps below zero
    const Case cases[] = {
        {"bytes of 128 and more", high_bytes, 6950 - 65 - 65 - 1 - 128},
        {"a score past 16 bits", wraps, 6950},
        {"a negative score", negative, 65536 + 6950 - 500 - 7000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(scores::high_score_checksum(c.table), c.h);
    }
}

TEST(HighScoreTable, InsertionFindsTheFirstRankNotAbove) {
    struct Case {
        const char* what;
        int score;
        int rank;  // where it lands, or -1 when the table stays as it was
    };
    const Case cases[] = {
        {"equal to rank 3 goes above it", 700, 3},
        {"above all ten", 5000, 0},
        {"equal to rank 9", 100, 9},
        {"below rank 9", 99, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HighScoreTable before = falling_table();
        HighScoreTable t = before;
        scores::insert_high_score(t, "NEW", c.score);
        if (c.rank < 0) {
            EXPECT_EQ(t.scores, before.scores);
            EXPECT_EQ(t.names, before.names);
            continue;
        }
        for (int r = 0; r < 10; ++r) {
            const int from = r < c.rank ? r : r - 1;  // ranks below move down one
            const auto i = static_cast<size_t>(r);
            if (r == c.rank) {
                EXPECT_EQ(name_at(t, r), "NEW");
                EXPECT_EQ(t.scores[i], c.score);
            } else {
                EXPECT_EQ(name_at(t, r), name_at(before, from)) << r;
                EXPECT_EQ(t.scores[i], before.scores[static_cast<size_t>(from)]) << r;
            }
        }
    }
}

TEST(HighScoreTable, NamesAreCutAtThreeBytesOrTheirFirstZero) {
    struct Case {
        std::string name;
        const char* stored;
    };
    const Case cases[] = {
        {std::string("A\0B", 3), "A"},
        {std::string("\0BC", 3), ""},
        {"LONGER", "LON"},
    };
    for (const Case& c : cases) {
        HighScoreTable t = scores::default_high_scores();
        scores::insert_high_score(t, c.name, 900);
        EXPECT_EQ(name_at(t, 0), c.stored);
        EXPECT_EQ(t.names[0][3], 0);
        EXPECT_EQ(t.names[0][4], 0);
    }
}

// A hand-edited four-letter name moves down cut to three letters, never leaving a fourth
// byte of its own or of the slot's old name behind.
TEST(HighScoreTable, LongNamesMoveDownCutToThreeLetters) {
    HighScoreTable t = make_table({{"ABCD", 900}, {"WXYZ", 800}, {"QRST", 700}});
    scores::insert_high_score(t, "NEW", 850);
    EXPECT_EQ(name_at(t, 0), "ABCD");  // above the new entry: untouched
    EXPECT_EQ(name_at(t, 1), "NEW");
    EXPECT_EQ(name_at(t, 2), "WXY");
    EXPECT_EQ(name_at(t, 3), "QRS");
}

TEST(HighScoreTable, LoadChecksTheStoredValues) {
    struct Case {
        const char* what;
        std::string ini;
        bool valid;
    };
    HighScoreTable edited = falling_table();
    const std::string valid = table_ini(edited);
    std::string score_edited = valid;
    score_edited.replace(score_edited.find("sco3=700"), 8, "sco3=701");
    std::string name_edited = valid;
    name_edited.replace(name_edited.find("nam5=RA5"), 8, "nam5=RB5");
    const Case cases[] = {
        {"no file", "", false},
        {"the default table", table_ini(scores::default_high_scores()), true},
        {"a valid table", valid, true},
        {"a score edited by hand", score_edited, false},
        {"a name edited by hand", name_edited, false},
        {"a check value edited by hand", table_ini(edited, false), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestGame t(false);
        if (!c.ini.empty()) write_ini(t, c.ini);
        EXPECT_EQ(scores::load_high_scores(*t.game), c.valid);
    }
}

TEST(HighScoreTable, ResetWritesTheDefaultTableInOrder) {
    TestGame t(false);
    EXPECT_FALSE(scores::load_high_scores(*t.game));
    scores::reset_high_scores(*t.game);
    EXPECT_TRUE(scores::load_high_scores(*t.game));
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
    const std::string falling = table_ini(falling_table());
    const Case cases[] = {
        {"equal to rank 3",
         falling,
         700,
         {{"nam3", "NEW"}, {"sco3", "700"}, {"nam4", "RA3"}, {"sco9", "200"}}},
        {"below rank 9: every key still written", falling, 5, {{"nam9", "RA9"}, {"sco9", "100"}}},
        // The first game ever, or a table edited by hand: the default table takes the entry.
        {"no table yet", "", 600, {{"nam0", "NEW"}, {"sco0", "600"}, {"nam1", "AAA"}}},
        {"a table that fails its check",
         table_ini(falling_table(), false),
         5,
         {{"nam0", "AAA"}, {"sco0", "500"}, {"nam9", "AAA"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestGame t(false);
        write_ini(t, c.ini + "[other]\nkept=1\n");
        scores::save_high_score(*t.game, "NEW", c.score);
        auto ini = frontend::read_ini(t.dir);
        for (int i = 0; i < 10; ++i) {
            EXPECT_TRUE(ini.count(key("nam", i)) && ini.count(key("sco", i))) << i;
        }
        for (const auto& [k, v] : c.expect) EXPECT_EQ(ini["score/" + k], v) << k;
        EXPECT_EQ(ini["other/kept"], "1");
        EXPECT_TRUE(scores::load_high_scores(*t.game));
    }
}

TEST(HighScoreTable, SavedNameEndsAtItsZeroByte) {
    TestGame t(false);
    scores::reset_high_scores(*t.game);
    scores::save_high_score(*t.game, std::string("A\0B", 3), 900);
    EXPECT_EQ(frontend::read_ini(t.dir)["score/nam0"], "A");
    EXPECT_TRUE(scores::load_high_scores(*t.game));
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
        EXPECT_EQ(scores::read_high_score_entry(*t.game, c.rank, name), c.score) << c.rank;
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
        HighScoreTable table = falling_table();
        std::memcpy(table.names[0].data(), c.name, std::strlen(c.name));
        std::string ini = table_ini(table);
        ini.replace(ini.find("nam0=") + 5, std::strlen(c.name), c.in_file);
        TestGame t(false);
        write_ini(t, ini);
        ASSERT_TRUE(scores::load_high_scores(*t.game));
        scores::save_high_score(*t.game, "NEW", 650);
        t.game->profile.poll();
        ASSERT_TRUE(scores::load_high_scores(*t.game));
        EXPECT_EQ(name_at(t.game->high_scores, 0), c.name);
        EXPECT_EQ(name_at(t.game->high_scores, 4), "NEW");
    }
}

// A name the file cannot hold (a carriage return edited in) stops the save before any key
// is written, rather than leaving new check values over old names.
TEST(HighScoreTable, ATableThatCannotBeStoredIsNotWrittenInPart) {
    HighScoreTable table = falling_table();
    std::memcpy(table.names[3].data(), "A\rB", 3);
    std::string ini = table_ini(table);
    TestGame t(false);
    write_ini(t, ini);
    ASSERT_TRUE(scores::load_high_scores(*t.game));
    testing::internal::CaptureStderr();
    scores::save_high_score(*t.game, "NEW", 950);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(slurp(t.dir / "vasul.ini"), ini);
}

namespace {

// The disk that counts the replacements of the file.
int replacements = 0;
settings::DiskCalls counting_disk() {
    settings::DiskCalls disk = settings::real_disk();
    disk.rename = [](const char* from, const char* to) {
        ++replacements;
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
    static const settings::DiskCalls disk = counting_disk();
    t.game->profile.use_disk(disk);
    replacements = 0;
    scores::reset_high_scores(*t.game);
    EXPECT_EQ(replacements, 1);
    scores::save_high_score(*t.game, "NEW", 900);
    EXPECT_EQ(replacements, 2);
    EXPECT_TRUE(scores::load_high_scores(*t.game));
}

// A full disk while the table is saved: the old table stays whole, one warning for the
// whole table and none for the settings written after it, and the game plays on.
TEST(HighScoreTable, AFullDiskKeepsTheOldTableWarnsOnceAndPlaysOn) {
    TestGame t(false);
    t.start();
    scores::reset_high_scores(*t.game);
    const std::string before = slurp(t.dir / "vasul.ini");
    settings::DiskCalls full = settings::real_disk();
    full.write = [](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    t.game->profile.use_disk(full);
    testing::internal::CaptureStderr();
    scores::save_high_score(*t.game, "NEW", 900);
    settings::write_setting(*t.game, settings::kDifficulty, 2);
    t.passes(10);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("vasul.ini"), std::string::npos) << err;
    EXPECT_EQ(slurp(t.dir / "vasul.ini"), before);
    EXPECT_FALSE(t.ended());
    EXPECT_TRUE(scores::load_high_scores(*t.game));

    t.game->profile.use_disk(settings::real_disk());
    scores::save_high_score(*t.game, "NEW", 900);
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
                scores::reset_high_scores(game);
                break;
            case 1:
                scores::save_high_score(game, "NEW", 900);
                break;
            default:
                settings::write_setting(game, settings::kDifficulty, n / 3 % 2);
                break;
        }
    };
    std::set<std::string> versions;
    {
        platform::HeadlessPlatform platform;
        Game game(platform, dir);
        for (int n = 0; n < 9; ++n) {
            save_step(game, n);
            versions.insert(slurp(ini));
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

        ASSERT_EQ(versions.count(slurp(ini)), 1u) << "round " << round << ":\n" << slurp(ini);
        const auto left = strays();
        ASSERT_LE(left.size(), 1u) << "round " << round;
        if (!left.empty()) {
            EXPECT_TRUE(left[0].starts_with(".vasul.ini.")) << left[0];
        }
    }
    platform::HeadlessPlatform platform;
    Game game(platform, dir);
    EXPECT_TRUE(scores::load_high_scores(game));
    save_step(game, 1);
    EXPECT_TRUE(strays().empty());
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
