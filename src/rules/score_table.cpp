#include "rules/score_table.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace rules {

namespace {

constexpr int kDefaultScore = 500;
constexpr std::string_view kDefaultName = "AAA";

}  // namespace

ScoreTable default_score_table() {
    ScoreTable table;
    for (auto& name : table.names) set_name(name, kDefaultName, kScoreNameLength);
    table.scores.fill(kDefaultScore);
    return table;
}

int score_checksum(const ScoreTable& table) {
    uint32_t h = 0;
    for (size_t r = 0; r < table.names.size(); ++r) {
        for (char ch : name_text(table.names[r])) {
            h += static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(ch)));
        }
        h += static_cast<uint32_t>(table.scores[r]);
        h &= 0xFFFFu;
    }
    return static_cast<int>(h);
}

int first_check_value(int h) {
    return h * 16787 % 16223;
}

int second_check_value(int h) {
    return h * 15241 % 15907;
}

CheckValues check_values(const ScoreTable& table) {
    const int h = score_checksum(table);
    return {first_check_value(h), second_check_value(h)};
}

std::string_view name_text(const ScoreName& name) {
    return {name.data(),
            static_cast<size_t>(std::find(name.begin(), name.end(), 0) - name.begin())};
}

void set_name(ScoreName& name, std::string_view text, size_t limit) {
    name.fill(0);
    limit = std::min(limit, name.size() - 1);  // the terminator always stays
    for (size_t i = 0; i < text.size() && i < limit && text[i] != 0; ++i) name[i] = text[i];
}

int insert_score(ScoreTable& table, std::string_view name, int score) {
    int at = 0;
    while (at < kScoreRanks && table.scores[static_cast<size_t>(at)] > score) ++at;
    if (at == kScoreRanks) return -1;
    // Moved names keep three characters, so a long hand-edited name never spills into the
    // slot below it.
    for (int r = kScoreRanks - 1; r > at; --r) {
        const auto to = static_cast<size_t>(r);
        const auto from = to - 1;
        const std::string moved(name_text(table.names[from]));
        set_name(table.names[to], moved, kScoreNameLength);
        table.scores[to] = table.scores[from];
    }
    set_name(table.names[static_cast<size_t>(at)], name, kScoreNameLength);
    table.scores[static_cast<size_t>(at)] = score;
    return at;
}

}  // namespace rules
