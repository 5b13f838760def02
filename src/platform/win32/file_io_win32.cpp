// The Windows side of the settings file: the same atomic replacement as on POSIX systems.
// Windows has no rename over an open or existing file, so the temporary file is moved with
// MoveFileExW, retried briefly while another process holds the old file open.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "platform/file_io.h"
#include "platform/file_io_shared.h"
#include "platform/win32/text.h"

namespace platform {

namespace {

constexpr int kMoveTries = 50;
constexpr DWORD kMoveRetryMs = 20;  // a reader holds the file for a moment only

// 100 ns ticks since 1601, as nanoseconds: only ever compared, never shown.
int64_t nanoseconds(int64_t ticks) {
    return ticks * 100;
}
int64_t ticks_of(FILETIME t) {
    return static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

int errno_of(DWORD e) {
    switch (e) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}

// Records the last Windows error as errno, so that messages read alike on every system.
int fail_errno() {
    errno = errno_of(GetLastError());
    return -1;
}

std::wstring wide(const std::filesystem::path& p) {
    return p.wstring();
}
std::string utf8(const std::filesystem::path& p) {
    return platform::win32::narrow(p.wstring());
}

// The file's volume and index stand for device and inode: a replaced file gets a new index.
bool stamp_of(HANDLE h, FileStamp& s) {
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandle(h, &info)) return false;
    if (!GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic)) return false;
    s.device = info.dwVolumeSerialNumber;
    s.inode = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    s.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    s.modified_ns = nanoseconds(ticks_of(info.ftLastWriteTime));
    s.changed_ns = nanoseconds(basic.ChangeTime.QuadPart);
    return true;
}

HANDLE open_for(const std::filesystem::path& file, DWORD access) {
    return CreateFileW(wide(file).c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

ErrorKind kind_of(DWORD e) {
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? ErrorKind::Missing
                                                                  : ErrorKind::Failed;
}

Error describe(std::string_view what, const std::filesystem::path& file) {
    return {ErrorKind::Failed, std::string(what) + " " + utf8(file) + ": " + std::strerror(errno)};
}

bool process_gone(DWORD pid) {
    const HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (p == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
    const bool gone = WaitForSingleObject(p, 0) == WAIT_OBJECT_0;
    CloseHandle(p);
    return gone;
}

// A process killed while writing leaves its temporary file behind; the next writer removes it.
void remove_dead_temps(const std::filesystem::path& folder, const std::string& prefix) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW(wide(folder / (prefix + "*.tmp")).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const DWORD owner = temp_owner<DWORD>(platform::win32::narrow(found.cFileName), prefix);
        if (owner == 0 || owner == GetCurrentProcessId() || !process_gone(owner)) continue;
        DeleteFileW(wide(folder / found.cFileName).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

int create_temp(const DiskCalls& disk, const std::filesystem::path& temp) {
    const std::string name = utf8(temp);
    int fd = disk.create(name.c_str(), 0666);
    if (fd < 0 && errno == EEXIST) {
        DeleteFileW(wide(temp).c_str());
        fd = disk.create(name.c_str(), 0666);
    }
    return fd;
}

int create_file(const char* path, mode_t) {
    // Delete sharing lets the finished file be moved over the old one.
    const HANDLE h = CreateFileW(platform::win32::widen(path).c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return fail_errno();
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
    if (fd < 0) CloseHandle(h);
    return fd;
}

ssize_t write_file(int fd, const void* data, size_t size) {
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD wrote = 0;
    const DWORD ask = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (!WriteFile(h, data, ask, &wrote, nullptr)) return fail_errno();
    return static_cast<ssize_t>(wrote);
}

int sync_file(int fd) {
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    return FlushFileBuffers(h) ? 0 : fail_errno();
}

int move_file(const char* from, const char* to) {
    const std::wstring f = platform::win32::widen(from);
    const std::wstring t = platform::win32::widen(to);
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    for (int i = 0;; ++i) {
        if (MoveFileExW(f.c_str(), t.c_str(), flags)) return 0;
        const DWORD e = GetLastError();
        const bool busy = e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION;
        if (!busy || i + 1 == kMoveTries) return fail_errno();
        Sleep(kMoveRetryMs);
    }
}

const DiskCalls kRealDisk{create_file, write_file, sync_file, move_file};

}  // namespace

const DiskCalls& real_disk() {
    return kRealDisk;
}

Result<FileStamp> stamp_file(const std::filesystem::path& file) {
    const HANDLE h = open_for(file, FILE_READ_ATTRIBUTES);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        return Error{kind_of(e), utf8(file) + ": " + win32::system_message(e)};
    }
    FileStamp stamp;
    const bool ok = stamp_of(h, stamp);
    CloseHandle(h);
    if (!ok) return Error{ErrorKind::Failed, utf8(file) + ": cannot be looked at"};
    return stamp;
}

Result<FileStamp> replace_file(const std::filesystem::path& file, std::string_view text,
                               const DiskCalls& disk) {
    const std::filesystem::path& target = file;
    const DWORD attributes = GetFileAttributesW(wide(target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return Error{ErrorKind::Failed, utf8(target) + " is read-only"};
    }
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::string prefix = temp_prefix(utf8(target.filename()));
    remove_dead_temps(folder, prefix);
    const std::filesystem::path temp =
        folder / (prefix + std::to_string(GetCurrentProcessId()) + ".tmp");

    const int fd = create_temp(disk, temp);
    if (fd < 0) return describe("cannot create", temp);
    auto give_up = [&](std::string_view what, const std::filesystem::path& name, bool open) {
        Error error = describe(what, name);
        if (open) _close(fd);
        DeleteFileW(wide(temp).c_str());
        return error;
    };
    if (!write_all(disk, fd, text)) return give_up("cannot write", temp, true);
    if (disk.sync(fd) != 0) return give_up("cannot sync", temp, true);
    // Closed first: a file still open for writing can't take the old one's place.
    _close(fd);
    const std::string from = utf8(temp);
    const std::string to = utf8(target);
    if (disk.rename(from.c_str(), to.c_str()) != 0) return give_up("cannot replace", target, false);
    const Result<FileStamp> stamp = stamp_file(target);
    return stamp ? *stamp : FileStamp{};
}

}  // namespace platform
