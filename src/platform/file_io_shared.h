#pragma once
// The parts of the settings file's reading and writing that are the same on every system,
// for the two systems' sides (file_io.cpp on POSIX systems, a sibling on Windows).
#include <string>
#include <string_view>

#include "platform/file_io.h"
#include "platform/numbers.h"

namespace platform {

// Writes all of text through the disk's write calls; false with errno set when one fails or
// makes no progress.
bool write_all(const DiskCalls& disk, int fd, std::string_view text);

// The start of a temporary file's name beside a file named `file_name`: the whole name is
// ".<name>.<process id>.tmp" (".vasul.ini.1234.tmp"), hidden, and never a name the game reads.
std::string temp_prefix(std::string_view file_name);

// The process id in a temporary file's name, or 0 when the name is not one of ours.
template <typename ProcessId>
ProcessId temp_owner(std::string_view name, std::string_view prefix) {
    constexpr std::string_view kSuffix = ".tmp";
    if (!name.starts_with(prefix) || !name.ends_with(kSuffix)) return 0;
    const std::string_view digits =
        name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
    ProcessId id = 0;
    return parse_whole_number(digits, id) ? id : 0;
}

}  // namespace platform
