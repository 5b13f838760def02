#pragma once
#include <array>
#include <string>
#include <string_view>

struct Game;

namespace scores {

inline constexpr int kRanks = 10;
// The name the game itself writes: three letters.
inline constexpr size_t kNameLength = 3;

struct HighScoreTable {
    std::array<std::array<char, 5>, kRanks> names{};  // zero-terminated, at most 4 characters
    std::array<int, kRanks> scores{};
};

// Ten ranks of "AAA" with 500, and the check values that match them.
HighScoreTable default_high_scores();
inline constexpr int kDefaultFirstCheck = 10057;
inline constexpr int kDefaultSecondCheck = 237;

// The 16-bit sum over every name byte (signed) and every score.
int high_score_checksum(const HighScoreTable& table);
int first_check_value(int h);
int second_check_value(int h);

// Reads the stored table into game.high_scores; true when its two check values match it.
bool load_high_scores(Game& game);
// Writes the default table to the file in one replacement; the working copy stays as it is.
void reset_high_scores(Game& game);
// Puts name and score in at the first rank whose score is not greater; rank 9 drops out.
// A name keeps at most three characters and ends at its first zero byte.
void insert_high_score(HighScoreTable& table, std::string_view name, int score);
// Reads, inserts and writes the whole table with fresh check values, in one replacement of
// the file or, if a name cannot be stored, not at all. A stored table that fails its check
// is replaced by the default table first.
void save_high_score(Game& game, std::string_view name, int score);
// The score at rank i and its name (default "AAA", at most 3 characters); 500 past rank 9.
int read_high_score_entry(Game& game, int rank, std::string& name);

}  // namespace scores
