#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace assetgen {

// The generator's command line (without the program name); messages go to `out` and `err`.
// Returns the exit status: 0 done, 1 failed (nothing written), 2 bad usage.
int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace assetgen
