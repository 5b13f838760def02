// What the settings file's reading and writing do the same on every system. The reading is
// the data files' own, so a named pipe or a folder in the file's place is refused alike.
#include "platform/file_io_shared.h"

#include <cerrno>

#include "platform/data_file.h"

namespace platform {

namespace {

// The name as UTF-8, whatever the system's own encoding.
std::string shown(const std::filesystem::path& file) {
    const std::u8string name = file.u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace

bool write_all(const DiskCalls& disk, int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = disk.write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;  // a write that makes no progress never will
        if (n <= 0) return false;
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string temp_prefix(std::string_view file_name) {
    return "." + std::string(file_name) + ".";
}

FileStatus read_whole_file(const std::filesystem::path& file, std::string& text, FileStamp& stamp,
                           std::string& error, uint64_t max_size) {
    // The stamp is taken before the file is opened: if it changes from here on, the next look
    // sees a newer stamp and reads it again.
    FileStamp before;
    const FileStatus looked = stamp_file(file, before);
    platform::FileBytes read = platform::read_data_file(file, max_size);
    switch (read.error) {
        case platform::ReadError::None:
            break;
        case platform::ReadError::Missing:
            error = shown(file) + " " + read.reason;
            return FileStatus::Missing;
        case platform::ReadError::NotAFile:
            error = shown(file) + " is not a regular file";
            return FileStatus::Failed;
        default:
            error = shown(file) + " " + read.reason;
            return FileStatus::Failed;
    }
    // A file that appeared only after the look is read at the next one.
    if (looked != FileStatus::Ok) {
        error = shown(file) + " changed while it was read";
        return looked;
    }
    text.assign(read.bytes.begin(), read.bytes.end());
    stamp = before;
    return FileStatus::Ok;
}

}  // namespace platform
