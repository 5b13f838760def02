#pragma once
#include <array>
#include <cstddef>
#include <string_view>

namespace rules {

inline constexpr int kScoreRanks = 10;
// The name the game itself writes: three letters.
inline constexpr size_t kScoreNameLength = 3;

// A rank's name, zero-terminated. A hand-edited file can give it four characters.
using ScoreName = std::array<char, 5>;

// The ten best results, rank 0 the highest; scores do not increase down the ranks.
struct ScoreTable {
    std::array<ScoreName, kScoreRanks> names{};
    std::array<int, kScoreRanks> scores{};
};

// The two values stored beside the table, by which a hand edit is noticed.
struct CheckValues {
    int first = 0;
    int second = 0;
    bool operator==(const CheckValues&) const = default;
};

// Ten ranks of "AAA" with 500, and the check values that match them.
ScoreTable default_score_table();
inline constexpr CheckValues kDefaultCheckValues{10057, 237};

// The 16-bit sum over every name byte (signed) and every score.
int score_checksum(const ScoreTable& table);
int first_check_value(int h);
int second_check_value(int h);
CheckValues check_values(const ScoreTable& table);

// The name up to its first zero byte.
std::string_view name_text(const ScoreName& name);
// Keeps at most `limit` bytes of text (never more than four), up to its first zero byte,
// and zero-fills the rest.
void set_name(ScoreName& name, std::string_view text, size_t limit);

// Puts name and score in at the first rank whose score is not greater, so a newer equal
// score ranks above the older ones; rank 9 drops out. The name keeps at most three
// characters and ends at its first zero byte. Returns the rank, or -1 when the score is
// below all ten and the table stays as it was.
int insert_score(ScoreTable& table, std::string_view name, int score);

}  // namespace rules
