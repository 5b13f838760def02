// windows.h goes first: the headers after it build on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>

#include "platform/backend.h"
#include "platform/executable.h"
#include "platform/log.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

bool handle_ok(DWORD which) {
    const HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

// A program without a console of its own writes to the console it was started from, to
// wherever its output was sent, or else to a log file: beside the program until main knows
// where the settings are, and beside them from then on.
void find_somewhere_to_write() {
    if (handle_ok(STD_ERROR_HANDLE)) return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        return;
    }
    const std::filesystem::path program = executable_path();
    set_log_file(program.empty() ? std::filesystem::path("vasul.log")
                                 : program.parent_path() / "vasul.log");
}

}  // namespace

Result<std::unique_ptr<Platform>> make_platform(const BackendOptions& options) {
    auto platform = std::make_unique<win32::Win32Platform>();
    if (const Result<void> opened = platform->open(options); !opened) return opened.error();
    return std::unique_ptr<Platform>(std::move(platform));
}

std::vector<std::string> start_process(int, char**) {
    find_somewhere_to_write();
    // The narrow arguments are in the system's code page; the wide ones hold any name.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(win32::narrow(wide[i]));
    if (wide) LocalFree(wide);
    return args;
}

}  // namespace platform
