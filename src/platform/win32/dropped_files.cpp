#include "platform/win32/dropped_files.h"

#include <string>

namespace platform::win32 {

std::vector<std::filesystem::path> dropped_paths(HDROP drop) {
    std::vector<std::filesystem::path> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring name(length + 1, L'\0');
        const UINT got = DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(got);
        if (!name.empty()) files.emplace_back(name);
    }
    return files;
}

}  // namespace platform::win32
