#pragma once
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform {

// What tells one version of a file from another without reading it. A file replaced by a
// rename gets a new inode, so even a rewrite within one clock tick is noticed.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modified_ns = 0;
    int64_t changed_ns = 0;
    bool operator==(const FileStamp&) const = default;
};

// Looks at the file without opening it; Missing covers a missing folder too, anything else
// that stops the look is Failed.
Result<FileStamp> stamp_file(const std::filesystem::path& file);

// A whole file's text, and the stamp of the version that was read.
struct FileText {
    std::string text;
    FileStamp stamp;
};
// Reads the whole file. Anything but a regular file (a named pipe, a device, a folder) and a
// file larger than max_size is refused without waiting on it. The reason names the file.
Result<FileText> read_whole_file(const std::filesystem::path& file, uint64_t max_size);

// The calls through which a replacement touches the disk. A test fails one of them to stand
// in for a full disk or a read-only folder.
struct DiskCalls {
    int (*create)(const char* path, mode_t mode);  // O_WRONLY | O_CREAT | O_EXCL
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*sync)(int fd);
    int (*rename)(const char* from, const char* to);
};
const DiskCalls& real_disk();

// Writes text to a temporary file beside `file`, syncs it and renames it over `file`, so a
// crash at any moment leaves either the old or the new file. The one way the project
// replaces a file: the settings file and the pack writer's archives both go through it. A file
// without any write permission counts as read-only and is not replaced. On failure the old file is
// untouched, the temporary file is removed and the error says why. Temporary files that killed
// processes left behind are removed first. The stamp is the new file's.
Result<FileStamp> replace_file(const std::filesystem::path& file, std::string_view text,
                               const DiskCalls& disk = real_disk());

}  // namespace platform
