#pragma once
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace assetgen {

// The generator's command line (without the program name); messages go to `out` and `err`.
// Returns the exit status: 0 done, 1 failed (nothing written), 2 bad usage. It runs under
// run_guarded, so nothing it throws escapes.
int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs `step` and returns its exit status. An exception that escapes it (a mistake in the
// generator, a music track that does not exist, memory running out) is reported on `err` as
// "assetgen: <what>" and gives status 1, so no run ends without a word.
int run_guarded(const std::function<int()>& step, std::ostream& err);

}  // namespace assetgen
