// The Windows side of the data file reader: the same refusals as on POSIX systems, through
// wide paths so that any folder name works.
#include <windows.h>

#include <algorithm>
#include <exception>

#include "platform/data_file.h"
#include "platform/win32/text.h"

namespace platform {

namespace {

constexpr uint64_t kGrowStep = 64u << 10;  // see the POSIX side: steps past the opening size
constexpr DWORD kReadChunk = 1u << 20;     // ReadFile takes 32-bit counts

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

bool read_into(HANDLE h, std::vector<uint8_t>& buffer, size_t& filled) {
    while (filled < buffer.size()) {
        const DWORD ask = static_cast<DWORD>(std::min<size_t>(buffer.size() - filled, kReadChunk));
        DWORD got = 0;
        if (!ReadFile(h, buffer.data() + filled, ask, &got, nullptr)) return false;
        if (got == 0) break;
        filled += got;
    }
    return true;
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
            fail(ReadError::Missing, "is missing");
        } else {
            fail(ReadError::Failed, "cannot be opened: " + win32::system_message(e));
        }
        return;
    }
    handle_ = reinterpret_cast<intptr_t>(h);
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info)) {
        fail(ReadError::NotAFile, what_it_is(h));
        return;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        fail(ReadError::NotAFile, "is a directory");
        return;
    }
    size_ = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

DataFile::~DataFile() {
    if (is_open()) CloseHandle(handle_of(handle_));
}

void DataFile::fail(ReadError error, std::string reason) {
    if (is_open()) CloseHandle(handle_of(handle_));
    handle_ = kNoHandle;
    error_ = error;
    reason_ = std::move(reason);
}

FileBytes DataFile::read(uint64_t offset, uint64_t count) {
    FileBytes out;
    if (!is_open()) {
        out.error = error_;
        out.reason = reason_;
        return out;
    }
    const auto failed = [&](std::string reason) {
        out.bytes.clear();
        out.error = ReadError::Failed;
        out.reason = std::move(reason);
        return std::move(out);
    };
    const HANDLE h = handle_of(handle_);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (offset > static_cast<uint64_t>(INT64_MAX) ||
        !SetFilePointerEx(h, at, nullptr, FILE_BEGIN)) {
        return failed("cannot be read at byte " + std::to_string(offset));
    }
    const uint64_t expected = size_ > offset ? size_ - offset : 0;
    try {
        const uint64_t first = std::min(count, expected);
        out.bytes.reserve(static_cast<size_t>(std::min(count, first + kGrowStep)));
        out.bytes.resize(static_cast<size_t>(first));
        size_t filled = 0;
        for (;;) {
            if (!read_into(h, out.bytes, filled)) {
                return failed("cannot be read: " + win32::system_message(GetLastError()));
            }
            if (filled < out.bytes.size() || filled >= count) break;
            out.bytes.resize(filled + static_cast<size_t>(std::min(kGrowStep, count - filled)));
        }
        out.bytes.resize(filled);
    } catch (const std::exception&) {
        return failed("cannot be read: out of memory");
    }
    return out;
}

}  // namespace platform
