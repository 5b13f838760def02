#pragma once
#include <string_view>

namespace platform {

// One line on stderr, prefixed with the program's name. Used for the few problems a player
// must hear about: missing data files, a silent sound device, a settings file that won't save.
void warn(std::string_view line);
void error(std::string_view line);

}  // namespace platform
