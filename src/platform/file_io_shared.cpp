// What the settings file's reading and writing do the same on every system. The reading is
// the data files' own, so a named pipe or a folder in the file's place is refused alike.
#include "platform/file_io_shared.h"

#include <cerrno>

#include "platform/backend.h"
#include "platform/data_file.h"

namespace platform {

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

Result<FileText> read_whole_file(const std::filesystem::path& file, uint64_t max_size) {
    // The stamp is taken before the file is opened: if it changes from here on, the next look
    // sees a newer stamp and reads it again.
    const Result<FileStamp> before = stamp_file(file);
    const FileBytes read = read_data_file(file, max_size);
    if (!read) {
        const Error& e = read.error();
        if (e.kind == ErrorKind::NotAFile)
            return Error{e.kind, utf8_text(file) + " is not a regular file"};
        return Error{e.kind, utf8_text(file) + " " + e.reason};
    }
    // A file that appeared only after the look is read at the next one.
    if (!before) return Error{before.error().kind, utf8_text(file) + " changed while it was read"};
    return FileText{std::string(read->begin(), read->end()), *before};
}

}  // namespace platform
