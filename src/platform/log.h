#pragma once
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace platform {

// One line on stderr, prefixed with the program's name. Used for the few problems a player
// must hear about: missing data files, a silent sound device, a settings file that won't save.
void warn(std::string_view line);
void error(std::string_view line);
// Warns with `line` the first time `key` joins `told`: a problem that comes back (a file read
// again for every piece or every visit) is told once a run.
void warn_once(std::set<std::string>& told, std::string_view key, std::string_view line);

// Sends the lines to a file instead, opened when the first line comes: for a program that
// has no console to write to.
void set_log_file(const std::filesystem::path& file);

// When lines go to a file, sends the later ones to vasul.log beside `file` instead (the
// settings file, once it is known where that is). Nothing changes while they go to stderr.
void keep_log_beside(const std::filesystem::path& file);

}  // namespace platform
