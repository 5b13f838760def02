// The Windows side of executable_path: the module's own file name, which may be longer than
// MAX_PATH, so the buffer grows until it fits.
#include <windows.h>

#include <string>

#include "platform/executable.h"

namespace platform {

std::filesystem::path executable_path() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) return {};
        if (n < name.size()) {
            name.resize(n);
            return std::filesystem::path(name);
        }
        name.resize(name.size() * 2);
    }
}

}  // namespace platform
