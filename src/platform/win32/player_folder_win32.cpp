// The Windows side of player_folder.h: the roaming application-data folder from the shell
// (or %APPDATA% where the shell won't say), and a write test with a file that deletes itself.
// windows.h goes first: the headers after it build on it.
// clang-format off
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on

#include <string>

#include "platform/player_folder.h"

namespace platform {

namespace {

constexpr const wchar_t* kGameFolder = L"Vasul";

std::filesystem::path roaming_app_data() {
    PWSTR path = nullptr;
    std::filesystem::path found;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path)))
        found = path;
    CoTaskMemFree(path);
    if (!found.empty()) return found;
    const DWORD n = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    if (n == 0) return {};
    std::wstring value(n, L'\0');
    const DWORD got = GetEnvironmentVariableW(L"APPDATA", value.data(), n);
    if (got == 0 || got >= n) return {};
    value.resize(got);
    return std::filesystem::path(value);
}

}  // namespace

bool windows_folders() {
    return true;
}

std::filesystem::path app_data_folder() {
    const std::filesystem::path base = roaming_app_data();
    if (base.empty() || !base.is_absolute()) return {};
    return base / kGameFolder;
}

bool can_make_files_in(const std::filesystem::path& dir) {
    // A name no game file has; the file goes as soon as its handle is closed.
    const std::filesystem::path probe = dir / L"vasul-write-test.tmp";
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // Left behind by a run that was killed: a folder that holds it could be written.
        return GetLastError() == ERROR_FILE_EXISTS && DeleteFileW(probe.c_str());
    }
    CloseHandle(file);
    return true;
}

}  // namespace platform
