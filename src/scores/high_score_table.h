#pragma once
#include <array>
#include <string>
#include <string_view>

struct Game;

namespace scores {

inline constexpr int kRanks = 10;

struct HighScoreTable {
    std::array<std::array<char, 5>, kRanks> names{};  // zero-terminated, at most 4 characters
    std::array<int, kRanks> scores{};
};

int high_score_checksum(const HighScoreTable& table);
int first_check_value(int h);
int second_check_value(int h);
bool load_high_scores(Game& game);
void reset_high_scores(Game& game);
void insert_high_score(HighScoreTable& table, std::string_view name, int score);
void save_high_score(Game& game, std::string_view name, int score);
// The score at rank i and its name (default "AAA", at most 3 characters); 500 past rank 9.
int read_high_score_entry(Game& game, int rank, std::string& name);

}  // namespace scores
