#pragma once
#include <charconv>
#include <string_view>
#include <system_error>

// Numbers read from text: the game's own files, and the command line and replay files.
namespace platform {

// A number as the game's files have always been read, like C's atoi: leading blanks, a sign,
// then digits up to the first other character; 0 when there are none, and the int's bounds
// for a number past them.
int parse_number(std::string_view text);

// The whole text as a decimal number of type T: false for an empty text, anything but digits
// (a sign only where T has one), or a number past T's range.
template <typename T>
bool parse_whole_number(std::string_view text, T& out) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
    out = value;
    return true;
}

}  // namespace platform
