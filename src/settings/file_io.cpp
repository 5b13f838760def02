#include "settings/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace settings {

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

FileStatus status_of_errno() {
    return errno == ENOENT || errno == ENOTDIR ? FileStatus::Missing : FileStatus::Failed;
}

std::string describe(std::string_view what, const std::filesystem::path& file) {
    return std::string(what) + " " + file.string() + ": " + std::strerror(errno);
}

bool write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
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

int create_temp(const std::filesystem::path& temp) {
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
        // Left behind by an earlier process of the same id that was killed mid-write.
        ::unlink(temp.c_str());
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    return fd;
}

}  // namespace

FileStatus stamp_file(const std::filesystem::path& file, FileStamp& stamp) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) return status_of_errno();
    stamp = stamp_of(st);
    return FileStatus::Ok;
}

FileStatus read_whole_file(const std::filesystem::path& file, std::string& text, FileStamp& stamp) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return status_of_errno();
    struct stat st;
    // The stamp is taken before reading: if the file changes meanwhile, the next look sees a
    // newer stamp and reads it again.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return FileStatus::Failed;
    }
    text.clear();
    text.reserve(static_cast<size_t>(st.st_size));
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return FileStatus::Failed;
        }
        if (n == 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    stamp = stamp_of(st);
    return FileStatus::Ok;
}

bool replace_file(const std::filesystem::path& file, std::string_view text, FileStamp& stamp,
                  std::string& error) {
    const std::filesystem::path target = resolve_link(file);
    struct stat old;
    const bool had_old = ::stat(target.c_str(), &old) == 0;
    if (had_old && (old.st_mode & 0222) == 0) {
        error = target.string() + " is read-only";
        return false;
    }
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::filesystem::path temp =
        folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) + ".tmp");

    const int fd = create_temp(temp);
    if (fd < 0) {
        error = describe("cannot create", temp);
        return false;
    }
    if (had_old) ::fchmod(fd, old.st_mode & 07777);
    auto give_up = [&](std::string_view what, const std::filesystem::path& name) {
        error = describe(what, name);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    };
    if (!write_all(fd, text)) return give_up("cannot write", temp);
    if (::fsync(fd) != 0) return give_up("cannot sync", temp);
    if (::rename(temp.c_str(), target.c_str()) != 0) return give_up("cannot replace", target);
    // After the rename, so the stamp includes the change time the rename gave the inode.
    struct stat now;
    if (::fstat(fd, &now) == 0) stamp = stamp_of(now);
    ::close(fd);
    sync_folder(folder);
    return true;
}

}  // namespace settings
