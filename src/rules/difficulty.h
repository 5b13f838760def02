#pragma once
#include <algorithm>
#include <array>
#include <cstddef>

namespace rules {

// Difficulty by index: 0 "HARD", 1 "NORM", 2 "EASY"; the divisor scales times and scores.
inline constexpr std::array<int, 3> kDifficultyDivisor = {1, 2, 4};
inline constexpr std::array<const char*, 3> kDifficultyNames = {"HARD", "NORM", "EASY"};

// The one clamp of the difficulty: the settings file may hold any number.
constexpr int difficulty_level(int difficulty) {
    return std::clamp(difficulty, 0, static_cast<int>(kDifficultyDivisor.size()) - 1);
}
// The options' arrows step the difficulty and keep it within the three levels.
constexpr int step_difficulty(int difficulty, int delta) {
    return difficulty_level(difficulty + delta);
}
constexpr int difficulty_divisor(int difficulty) {
    return kDifficultyDivisor[static_cast<size_t>(difficulty_level(difficulty))];
}
constexpr const char* difficulty_name(int difficulty) {
    return kDifficultyNames[static_cast<size_t>(difficulty_level(difficulty))];
}

}  // namespace rules
