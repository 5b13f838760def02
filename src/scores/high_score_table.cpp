#include "scores/high_score_table.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "app/game.h"
#include "gfx/text.h"

namespace scores {

namespace {

constexpr std::string_view kSection = "score";
// Numbers are read as at most 19 characters, names as at most 4 into the working copy.
constexpr size_t kNumberBuffer = 20;
constexpr size_t kSlotBuffer = 5;
// The display's buffer holds three characters and the terminator.
constexpr size_t kDisplayNameBuffer = 4;

std::string key(const char* stem, int rank) {
    return stem + std::to_string(rank);
}

int read_number(const Game& game, std::string_view k, const char* default_value) {
    return gfx::parse_number(game.profile.read(kSection, k, default_value, kNumberBuffer));
}

std::string_view slot_text(const std::array<char, 5>& slot) {
    return {slot.data(), strnlen(slot.data(), slot.size())};
}

// Copies at most `limit` bytes of text, up to its first zero byte, and zero-fills the rest.
void set_slot(std::array<char, 5>& slot, std::string_view text, size_t limit) {
    slot.fill(0);
    for (size_t i = 0; i < text.size() && i < limit && text[i] != 0; ++i) slot[i] = text[i];
}

// The stored entries as they are, without looking at the check values.
void read_entries(Game& game, HighScoreTable& table) {
    for (int i = 0; i < kRanks; ++i) {
        const auto r = static_cast<size_t>(i);
        set_slot(table.names[r], game.profile.read(kSection, key("nam", i), "500", kSlotBuffer),
                 kSlotBuffer - 1);
        table.scores[r] = read_number(game, key("sco", i), "500");
    }
}

bool stored_checks_match(const Game& game, const HighScoreTable& table) {
    const int h = high_score_checksum(table);
    return read_number(game, "sum0", "500") == first_check_value(h) &&
           read_number(game, "sum1", "500") == second_check_value(h);
}

// The section's 22 keys in the order the game writes them: the check values, then each
// rank's name and score.
struct TableKeys {
    std::array<std::string, 2 + 2 * kRanks> keys;
    std::array<std::string, 2 + 2 * kRanks> values;

    TableKeys(int first_check, int second_check) {
        put(0, "sum0", std::to_string(first_check));
        put(1, "sum1", std::to_string(second_check));
    }
    void put(size_t at, std::string k, std::string v) {
        keys[at] = std::move(k);
        values[at] = std::move(v);
    }
    void put_rank(int rank, std::string_view name, int score) {
        const auto at = 2 + 2 * static_cast<size_t>(rank);
        put(at, key("nam", rank), std::string(name));
        put(at + 1, key("sco", rank), std::to_string(score));
    }
    // Written as one replacement of the file, so a table is never stored in part.
    void write(Game& game) const {
        std::array<settings::ProfileStore::Change, 2 + 2 * kRanks> changes;
        for (size_t i = 0; i < changes.size(); ++i) changes[i] = {keys[i], values[i]};
        game.profile.write(kSection, changes);
    }
};

void write_table(Game& game, const HighScoreTable& table) {
    const int h = high_score_checksum(table);
    TableKeys out(first_check_value(h), second_check_value(h));
    for (int i = 0; i < kRanks; ++i) {
        const auto r = static_cast<size_t>(i);
        out.put_rank(i, slot_text(table.names[r]), table.scores[r]);
    }
    out.write(game);
}

}  // namespace

HighScoreTable default_high_scores() {
    HighScoreTable table;
    for (auto& name : table.names) set_slot(name, "AAA", kNameLength);
    table.scores.fill(500);
    return table;
}

int high_score_checksum(const HighScoreTable& table) {
    uint32_t h = 0;
    for (size_t r = 0; r < table.names.size(); ++r) {
        for (char ch : slot_text(table.names[r])) {
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

bool load_high_scores(Game& game) {
    read_entries(game, game.high_scores);
    return stored_checks_match(game, game.high_scores);
}

void reset_high_scores(Game& game) {
    TableKeys out(kDefaultFirstCheck, kDefaultSecondCheck);
    for (int i = 0; i < kRanks; ++i) out.put_rank(i, "AAA", 500);
    out.write(game);
}

void insert_high_score(HighScoreTable& table, std::string_view name, int score) {
    int at = 0;
    while (at < kRanks && table.scores[static_cast<size_t>(at)] > score) ++at;
    if (at == kRanks) return;
    // Moved names keep three characters, so a long hand-edited name never spills into the
    // slot below it.
    for (int r = kRanks - 1; r > at; --r) {
        const auto to = static_cast<size_t>(r);
        const auto from = to - 1;
        const std::string moved(slot_text(table.names[from]));
        set_slot(table.names[to], moved, kNameLength);
        table.scores[to] = table.scores[from];
    }
    set_slot(table.names[static_cast<size_t>(at)], name, kNameLength);
    table.scores[static_cast<size_t>(at)] = score;
}

void save_high_score(Game& game, std::string_view name, int score) {
    HighScoreTable& table = game.high_scores;
    read_entries(game, table);
    // A table that fails its check (a first game before the title ever wrote one, or a hand
    // edit) would otherwise be saved as ranks of "500" names with valid check values.
    if (!stored_checks_match(game, table)) table = default_high_scores();
    insert_high_score(table, name, score);
    write_table(game, table);
}

int read_high_score_entry(Game& game, int rank, std::string& name) {
    if (rank < 0 || rank >= kRanks) return 500;
    name = game.profile.read(kSection, key("nam", rank), "AAA", kDisplayNameBuffer);
    name.resize(strnlen(name.data(), name.size()));  // the name ends at a zero byte
    return read_number(game, key("sco", rank), "500");
}

}  // namespace scores
