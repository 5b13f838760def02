// The Windows side of the data file reader: the same refusals as on POSIX systems, through
// wide paths so that any folder name works.
#include <windows.h>

#include <algorithm>

#include "platform/data_file.h"
#include "platform/win32/text.h"

namespace platform {

namespace {

constexpr DWORD kReadChunk = 1u << 20;  // ReadFile takes 32-bit counts

HANDLE handle_of(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

std::string what_it_is(HANDLE h) {
    switch (GetFileType(h)) {
        case FILE_TYPE_PIPE:
            return "is a named pipe";
        case FILE_TYPE_CHAR:
            return "is a device";
        default:
            return "is not a regular file";
    }
}

}  // namespace

DataFile::DataFile(const std::filesystem::path& path) {
    // Others may read, replace or delete the file while we hold it, as on POSIX systems.
    const HANDLE h = CreateFileW(path.wstring().c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) {
            fail(ErrorKind::Missing, "is missing");
        } else {
            fail(ErrorKind::Failed, "cannot be opened: " + win32::system_message(e));
        }
        return;
    }
    handle_ = reinterpret_cast<intptr_t>(h);
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info)) {
        fail(ErrorKind::NotAFile, what_it_is(h));
        return;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        fail(ErrorKind::NotAFile, "is a directory");
        return;
    }
    size_ = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

void DataFile::close_handle() {
    CloseHandle(handle_of(handle_));
}

bool DataFile::seek(uint64_t offset) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    return offset <= static_cast<uint64_t>(INT64_MAX) &&
           SetFilePointerEx(handle_of(handle_), at, nullptr, FILE_BEGIN);
}

Result<void> DataFile::read_into(std::vector<uint8_t>& buffer, size_t& filled) {
    const HANDLE h = handle_of(handle_);
    while (filled < buffer.size()) {
        const DWORD ask = static_cast<DWORD>(std::min<size_t>(buffer.size() - filled, kReadChunk));
        DWORD got = 0;
        if (!ReadFile(h, buffer.data() + filled, ask, &got, nullptr))
            return Error{ErrorKind::Failed, win32::system_message(GetLastError())};
        if (got == 0) break;
        filled += got;
    }
    return {};
}

}  // namespace platform
