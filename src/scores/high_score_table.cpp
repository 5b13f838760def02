#include "scores/high_score_table.h"

#include <array>
#include <cstring>
#include <string>

#include "app/game.h"
#include "gfx/text.h"

namespace scores {

namespace {

using rules::kScoreRanks;

constexpr std::string_view kSection = "score";
// Numbers are read as at most 19 characters, names as at most 4 into the working copy.
constexpr size_t kNumberBuffer = 20;
constexpr size_t kSlotBuffer = std::tuple_size_v<rules::ScoreName>;
// The display's buffer holds three characters and the terminator.
constexpr size_t kDisplayNameBuffer = 4;

std::string key(const char* stem, int rank) {
    return stem + std::to_string(rank);
}

int read_number(const Game& game, std::string_view k, const char* default_value) {
    return gfx::parse_number(game.profile.read(kSection, k, default_value, kNumberBuffer));
}

// The stored entries as they are, without looking at the check values.
void read_entries(Game& game, rules::ScoreTable& table) {
    for (int i = 0; i < kScoreRanks; ++i) {
        const auto r = static_cast<size_t>(i);
        rules::set_name(table.names[r],
                        game.profile.read(kSection, key("nam", i), "500", kSlotBuffer),
                        kSlotBuffer - 1);
        table.scores[r] = read_number(game, key("sco", i), "500");
    }
}

rules::CheckValues stored_check_values(const Game& game) {
    return {read_number(game, "sum0", "500"), read_number(game, "sum1", "500")};
}

// The section's 22 keys in the order the game writes them: the check values, then each
// rank's name and score.
struct TableKeys {
    std::array<std::string, 2 + 2 * kScoreRanks> keys;
    std::array<std::string, 2 + 2 * kScoreRanks> values;

    TableKeys(const rules::ScoreTable& table, rules::CheckValues checks) {
        put(0, "sum0", std::to_string(checks.first));
        put(1, "sum1", std::to_string(checks.second));
        for (int i = 0; i < kScoreRanks; ++i) {
            const auto r = static_cast<size_t>(i);
            const auto at = 2 + 2 * r;
            put(at, key("nam", i), std::string(rules::name_text(table.names[r])));
            put(at + 1, key("sco", i), std::to_string(table.scores[r]));
        }
    }
    void put(size_t at, std::string k, std::string v) {
        keys[at] = std::move(k);
        values[at] = std::move(v);
    }
    // Written as one replacement of the file, so a table is never stored in part.
    void write(Game& game) const {
        std::array<settings::ProfileStore::Change, 2 + 2 * kScoreRanks> changes;
        for (size_t i = 0; i < changes.size(); ++i) changes[i] = {keys[i], values[i]};
        game.profile.write(kSection, changes);
    }
};

}  // namespace

bool load_high_scores(Game& game) {
    read_entries(game, game.high_scores);
    return stored_check_values(game) == rules::check_values(game.high_scores);
}

void reset_high_scores(Game& game) {
    TableKeys(rules::default_score_table(), rules::kDefaultCheckValues).write(game);
}

void save_high_score(Game& game, std::string_view name, int score) {
    rules::ScoreTable& table = game.high_scores;
    read_entries(game, table);
    // A table that fails its check (a first game before the title ever wrote one, or a hand
    // edit) would otherwise be saved as ranks of "500" names with valid check values.
    if (stored_check_values(game) != rules::check_values(table)) {
        table = rules::default_score_table();
    }
    rules::insert_score(table, name, score);
    TableKeys(table, rules::check_values(table)).write(game);
}

int read_high_score_entry(Game& game, int rank, std::string& name) {
    if (rank < 0 || rank >= kScoreRanks) return 500;
    name = game.profile.read(kSection, key("nam", rank), "AAA", kDisplayNameBuffer);
    name.resize(strnlen(name.data(), name.size()));  // the name ends at a zero byte
    return read_number(game, key("sco", rank), "500");
}

}  // namespace scores
