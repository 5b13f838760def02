#include "platform/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_io_shared.h"

namespace platform {

namespace {

int64_t nanoseconds(const timespec& t) {
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + static_cast<int64_t>(t.tv_nsec);
}

FileStamp stamp_of(const struct stat& st) {
    FileStamp s;
    s.device = static_cast<uint64_t>(st.st_dev);
    s.inode = static_cast<uint64_t>(st.st_ino);
    s.size = static_cast<uint64_t>(st.st_size);
    s.modified_ns = nanoseconds(st.st_mtim);
    s.changed_ns = nanoseconds(st.st_ctim);
    return s;
}

ErrorKind kind_of(int error) {
    return error == ENOENT || error == ENOTDIR ? ErrorKind::Missing : ErrorKind::Failed;
}

Error describe(std::string_view what, const std::filesystem::path& file) {
    return {ErrorKind::Failed,
            std::string(what) + " " + file.string() + ": " + std::strerror(errno)};
}

// The rename is only durable once the folder's entry is on disk too. Some file systems
// cannot sync a folder; the new file is in place either way, so that is not an error.
void sync_folder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A link stays a link: the file it points to is the one replaced.
std::filesystem::path resolve_link(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(file, ec)) return file;
    auto target = std::filesystem::canonical(file, ec);
    return ec ? file : target;
}

// A process killed while writing leaves its temporary file behind. It is never read in the
// file's place, but it would pile up, so the next writer removes those whose process is gone.
void remove_dead_temps(const std::filesystem::path& folder, std::string_view prefix) {
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) return;
    while (const dirent* e = ::readdir(d)) {
        const pid_t owner = temp_owner<pid_t>(e->d_name, prefix);
        if (owner <= 0 || owner == ::getpid()) continue;
        if (::kill(owner, 0) != 0 && errno == ESRCH) ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

int create_temp(const DiskCalls& disk, const std::filesystem::path& temp) {
    int fd = disk.create(temp.c_str(), 0666);
    if (fd < 0 && errno == EEXIST) {
        // Left behind by an earlier process of the same id that was killed mid-write.
        ::unlink(temp.c_str());
        fd = disk.create(temp.c_str(), 0666);
    }
    return fd;
}

const DiskCalls kRealDisk{
    [](const char* path, mode_t mode) {
        return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    },
    [](int fd, const void* data, size_t size) { return ::write(fd, data, size); },
    [](int fd) { return ::fsync(fd); },
    [](const char* from, const char* to) { return ::rename(from, to); },
};

}  // namespace

const DiskCalls& real_disk() {
    return kRealDisk;
}

Result<FileStamp> stamp_file(const std::filesystem::path& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) {
        const int e = errno;
        return Error{kind_of(e), file.string() + ": " + std::strerror(e)};
    }
    return stamp_of(st);
}

Result<FileStamp> replace_file(const std::filesystem::path& file, std::string_view text,
                               const DiskCalls& disk) {
    const std::filesystem::path target = resolve_link(file);
    struct stat old;
    const bool had_old = ::stat(target.c_str(), &old) == 0;
    if (had_old && (old.st_mode & 0222) == 0) {
        return Error{ErrorKind::Failed, target.string() + " is read-only"};
    }
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::string prefix = temp_prefix(target.filename().string());
    remove_dead_temps(folder, prefix);
    const std::filesystem::path temp = folder / (prefix + std::to_string(::getpid()) + ".tmp");

    const int fd = create_temp(disk, temp);
    if (fd < 0) return describe("cannot create", temp);
    if (had_old) ::fchmod(fd, old.st_mode & 07777);
    auto give_up = [&](std::string_view what, const std::filesystem::path& name) {
        Error error = describe(what, name);
        ::close(fd);
        ::unlink(temp.c_str());
        return error;
    };
    if (!write_all(disk, fd, text)) return give_up("cannot write", temp);
    if (disk.sync(fd) != 0) return give_up("cannot sync", temp);
    if (disk.rename(temp.c_str(), target.c_str()) != 0) return give_up("cannot replace", target);
    // After the rename, so the stamp includes the change time the rename gave the inode.
    FileStamp stamp;
    struct stat now;
    if (::fstat(fd, &now) == 0) stamp = stamp_of(now);
    ::close(fd);
    sync_folder(folder);
    return stamp;
}

}  // namespace platform
