#pragma once
#include <string>
#include <string_view>

namespace platform::win32 {

// Windows speaks UTF-16; the game keeps its text and paths in UTF-8.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// The system's own wording for an error code from GetLastError, without the trailing newline.
std::string system_message(unsigned long code);

}  // namespace platform::win32
