#pragma once
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <filesystem>
#include <vector>

namespace platform::win32 {

// The files of a drop on the window (WM_DROPFILES), by their full wide names; folders are
// passed on too, for the game to refuse by name.
std::vector<std::filesystem::path> dropped_paths(HDROP drop);

}  // namespace platform::win32
