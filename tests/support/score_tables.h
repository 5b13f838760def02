#pragma once
// Score tables laid out by hand, for the rules' tests and the high-score file's tests.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "rules/score_table.h"

namespace rules_test {

struct ScoreEntry {
    std::string name;  // copied byte for byte, up to four, as a hand-edited file may hold
    int score;
};

// The entries from rank 0 down; ranks past them keep empty names and score 0.
inline rules::ScoreTable make_score_table(const std::vector<ScoreEntry>& entries) {
    rules::ScoreTable t;
    for (size_t i = 0; i < entries.size(); ++i) {
        std::memcpy(t.names[i].data(), entries[i].name.data(),
                    std::min<size_t>(entries[i].name.size(), 4));
        t.scores[i] = entries[i].score;
    }
    return t;
}

// Ten ranks with falling scores 1000, 900, ... 100 and names RA0 ... RA9.
inline rules::ScoreTable falling_score_table() {
    std::vector<ScoreEntry> e;
    for (int i = 0; i < rules::kScoreRanks; ++i)
        e.push_back({"RA" + std::to_string(i), 1000 - 100 * i});
    return make_score_table(e);
}

inline std::string name_at(const rules::ScoreTable& t, int rank) {
    return std::string(rules::name_text(t.names[static_cast<size_t>(rank)]));
}

}  // namespace rules_test
