// The high-score table: a settings file as found, a name and a score saved into it. After the
// save the table must pass its own check and hold exactly the entries the insertion rule
// gives; a table that cannot be stored must leave the file as it was.
//
// Input: the score (four bytes) and the name's length (one byte) from the end, the name from
// the start, the settings file's text after it.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "app/game.h"
#include "fuzz/fuzz_support.h"
#include "platform/headless/headless_platform.h"
#include "scores/high_score_table.h"

namespace {

// A name holding a line break cannot be written as one key; the game must refuse the save.
bool storable(const rules::ScoreTable& table) {
    for (const auto& name : table.names) {
        for (char c : name) {
            if (c == '\r' || c == '\n') return false;
        }
    }
    return true;
}

bool same_table(const rules::ScoreTable& a, const rules::ScoreTable& b) {
    return a.names == b.names && a.scores == b.scores;
}

// What the display reads for every rank: three characters of the name, and the score.
void check_display(Game& game, const rules::ScoreTable& table) {
    for (int rank = 0; rank < rules::kScoreRanks; ++rank) {
        const auto r = static_cast<size_t>(rank);
        std::string name;
        FUZZ_CHECK(scores::read_high_score_entry(game.profile, rank, name) == table.scores[r]);
        FUZZ_CHECK(name == std::string(table.names[r].data()).substr(0, rules::kScoreNameLength));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int score = in.ConsumeIntegral<int>();
    const std::string name = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, 4));
    const std::string text = in.ConsumeRemainingBytesAsString();

    static platform::HeadlessPlatform platform;
    const auto dir = fuzz::scratch_dir();
    fuzz::write_file(dir / "vasul.ini", text);

    rules::ScoreTable expected;
    {
        Game game(platform, dir);
        const bool valid = scores::load_high_scores(game.profile, game.high_scores);
        expected = valid ? game.high_scores : rules::default_score_table();
        rules::insert_score(expected, name, score);
        scores::save_high_score(game.profile, game.high_scores, name, score);
    }
    Game reloaded(platform, dir);
    if (!storable(expected)) {
        FUZZ_CHECK(fuzz::read_file(dir / "vasul.ini") == text);
        return 0;
    }
    FUZZ_CHECK(scores::load_high_scores(reloaded.profile, reloaded.high_scores));
    FUZZ_CHECK(same_table(reloaded.high_scores, expected));
    check_display(reloaded, expected);
    return 0;
}
