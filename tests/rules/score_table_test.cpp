#include "rules/score_table.h"

#include <gtest/gtest.h>

#include <string>

#include "support/score_tables.h"

namespace {

using rules::ScoreTable;
using rules_test::falling_score_table;
using rules_test::make_score_table;
using rules_test::name_at;

TEST(ScoreTable, DefaultTableSumsToItsCheckValues) {
    const ScoreTable d = rules::default_score_table();
    EXPECT_EQ(rules::score_checksum(d), 6950);
    EXPECT_EQ(rules::first_check_value(6950), 10057);
    EXPECT_EQ(rules::second_check_value(6950), 237);
    EXPECT_EQ(rules::check_values(d), rules::kDefaultCheckValues);
    for (int r = 0; r < rules::kScoreRanks; ++r) {
        EXPECT_EQ(name_at(d, r), "AAA");
        EXPECT_EQ(d.scores[static_cast<size_t>(r)], 500);
    }
    // The largest sum keeps both products inside 32 bits.
    EXPECT_EQ(rules::first_check_value(65535), static_cast<int>(65535LL * 16787 % 16223));
    EXPECT_EQ(rules::second_check_value(65535), static_cast<int>(65535LL * 15241 % 15907));
}

TEST(ScoreTable, NameBytesCountSignedAndTheSumKeepsSixteenBits) {
    struct Case {
        const char* what;
        ScoreTable table;
        int h;
    };
    ScoreTable high_bytes = rules::default_score_table();
    high_bytes.names[0] = {'\xFF', '\x80', 'A', 0, 0};  // -1 and -128 instead of 65 and 65
    ScoreTable wraps = rules::default_score_table();
    wraps.scores[4] = 65536 + 500;  // adds a whole 65536: no change
    ScoreTable negative = rules::default_score_table();
    negative.scores[9] = -7000;  // 6950 - 500 - 7000 wraps below zero
    ScoreTable four_letters = rules::default_score_table();
    four_letters.names[2] = {'A', 'A', 'A', 'B', 0};  // a hand edit's fourth letter counts
    const Case cases[] = {
        {"bytes of 128 and more", high_bytes, 6950 - 65 - 65 - 1 - 128},
        {"a score past 16 bits", wraps, 6950},
        {"a negative score", negative, 65536 + 6950 - 500 - 7000},
        {"a four-letter name", four_letters, 6950 + 66},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(rules::score_checksum(c.table), c.h);
    }
}

TEST(ScoreTable, InsertionFindsTheFirstRankNotAbove) {
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
        const ScoreTable before = falling_score_table();
        ScoreTable t = before;
        EXPECT_EQ(rules::insert_score(t, "NEW", c.score), c.rank);
        if (c.rank < 0) {
            EXPECT_EQ(t.scores, before.scores);
            EXPECT_EQ(t.names, before.names);
            continue;
        }
        for (int r = 0; r < rules::kScoreRanks; ++r) {
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

TEST(ScoreTable, NamesAreCutAtThreeBytesOrTheirFirstZero) {
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
        ScoreTable t = rules::default_score_table();
        rules::insert_score(t, c.name, 900);
        EXPECT_EQ(name_at(t, 0), c.stored);
        EXPECT_EQ(t.names[0][3], 0);
        EXPECT_EQ(t.names[0][4], 0);
    }
}

// A hand-edited four-letter name moves down cut to three letters, never leaving a fourth
// byte of its own or of the slot's old name behind.
TEST(ScoreTable, LongNamesMoveDownCutToThreeLetters) {
    ScoreTable t = make_score_table({{"ABCD", 900}, {"WXYZ", 800}, {"QRST", 700}});
    rules::insert_score(t, "NEW", 850);
    EXPECT_EQ(name_at(t, 0), "ABCD");  // above the new entry: untouched
    EXPECT_EQ(name_at(t, 1), "NEW");
    EXPECT_EQ(name_at(t, 2), "WXY");
    EXPECT_EQ(name_at(t, 3), "QRS");
    EXPECT_EQ(t.names[2][3], 0);
}

// A reader asking for more than a slot holds still gets a terminated name of four letters.
TEST(ScoreTable, ASlotKeepsItsTerminatorWhateverTheLimit) {
    rules::ScoreName name;
    rules::set_name(name, "ABCDEFG", 19);
    EXPECT_EQ(rules::name_text(name), "ABCD");
    EXPECT_EQ(name[4], 0);
}

}  // namespace
