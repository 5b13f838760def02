#pragma once
#include <string>
#include <string_view>

#include "rules/score_table.h"
#include "settings/profile.h"

// The high-score table in section "score" of vasul.ini: names, scores and the check values
// beside them. The arithmetic is the rules' (rules/score_table.h); this side reads and
// writes the file.
namespace scores {

// Reads the stored table into `table`; true when its two check values match it.
bool load_high_scores(const settings::ProfileStore& profile, rules::ScoreTable& table);
// Writes the default table to the file in one replacement; the working copy stays as it is.
void reset_high_scores(settings::ProfileStore& profile);
// Reads the stored table into `table`, inserts and writes the whole of it with fresh check
// values, in one replacement of the file or, if a name cannot be stored, not at all. A stored
// table that fails its check is replaced by the default table first.
void save_high_score(settings::ProfileStore& profile, rules::ScoreTable& table,
                     std::string_view name, int score);
// The score at rank i and its name (default "AAA", at most 3 characters); 500 past rank 9.
int read_high_score_entry(const settings::ProfileStore& profile, int rank, std::string& name);

}  // namespace scores
