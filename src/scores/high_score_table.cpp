#include "scores/high_score_table.h"

#include <array>
#include <cstring>
#include <string>

#include "platform/numbers.h"

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

int read_number(const settings::ProfileStore& profile, std::string_view k,
                const char* default_value) {
    return platform::parse_number(profile.read(kSection, k, default_value, kNumberBuffer));
}

// The stored entries as they are, without looking at the check values.
void read_entries(const settings::ProfileStore& profile, rules::ScoreTable& table) {
    for (int i = 0; i < kScoreRanks; ++i) {
        const auto r = static_cast<size_t>(i);
        rules::set_name(table.names[r], profile.read(kSection, key("nam", i), "500", kSlotBuffer),
                        kSlotBuffer - 1);
        table.scores[r] = read_number(profile, key("sco", i), "500");
    }
}

rules::CheckValues stored_check_values(const settings::ProfileStore& profile) {
    return {read_number(profile, "sum0", "500"), read_number(profile, "sum1", "500")};
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
    void write(settings::ProfileStore& profile) const {
        std::array<settings::ProfileStore::Change, 2 + 2 * kScoreRanks> changes;
        for (size_t i = 0; i < changes.size(); ++i) changes[i] = {keys[i], values[i]};
        profile.write(kSection, changes);
    }
};

}  // namespace

bool load_high_scores(const settings::ProfileStore& profile, rules::ScoreTable& table) {
    read_entries(profile, table);
    return stored_check_values(profile) == rules::check_values(table);
}

void reset_high_scores(settings::ProfileStore& profile) {
    TableKeys(rules::default_score_table(), rules::kDefaultCheckValues).write(profile);
}

void save_high_score(settings::ProfileStore& profile, rules::ScoreTable& table,
                     std::string_view name, int score) {
    read_entries(profile, table);
    // A table that fails its check (a first game before the title ever wrote one, or a hand
    // edit) would otherwise be saved as ranks of "500" names with valid check values.
    if (stored_check_values(profile) != rules::check_values(table)) {
        table = rules::default_score_table();
    }
    rules::insert_score(table, name, score);
    TableKeys(table, rules::check_values(table)).write(profile);
}

int read_high_score_entry(const settings::ProfileStore& profile, int rank, std::string& name) {
    if (rank < 0 || rank >= kScoreRanks) return 500;
    name = profile.read(kSection, key("nam", rank), "AAA", kDisplayNameBuffer);
    name.resize(strnlen(name.data(), name.size()));  // the name ends at a zero byte
    return read_number(profile, key("sco", rank), "500");
}

}  // namespace scores
