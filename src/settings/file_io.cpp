#include "settings/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
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

FileStatus status_of(int error) {
    return error == ENOENT || error == ENOTDIR ? FileStatus::Missing : FileStatus::Failed;
}

std::string describe(std::string_view what, const std::filesystem::path& file) {
    return std::string(what) + " " + file.string() + ": " + std::strerror(errno);
}

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

bool read_all(int fd, std::string& text) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        text.append(buffer, static_cast<size_t>(n));
    }
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

// ".<name>.<pid>.tmp" (".vasul.ini.1234.tmp"): hidden, and never a name the game reads.
std::string temp_prefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".";
}

// The process id in a temporary file's name, or 0 when the name is not one of ours.
pid_t temp_owner(std::string_view name, std::string_view prefix) {
    constexpr std::string_view kSuffix = ".tmp";
    if (!name.starts_with(prefix) || !name.ends_with(kSuffix)) return 0;
    const std::string_view digits =
        name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    return ec == std::errc() && end == digits.data() + digits.size() ? pid : 0;
}

// A process killed while writing leaves its temporary file behind. It is never read in the
// file's place, but it would pile up, so the next writer removes those whose process is gone.
void remove_dead_temps(const std::filesystem::path& folder, std::string_view prefix) {
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) return;
    while (const dirent* e = ::readdir(d)) {
        const pid_t owner = temp_owner(e->d_name, prefix);
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

FileStatus stamp_file(const std::filesystem::path& file, FileStamp& stamp) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) return status_of(errno);
    stamp = stamp_of(st);
    return FileStatus::Ok;
}

FileStatus read_whole_file(const std::filesystem::path& file, std::string& text, FileStamp& stamp,
                           std::string& error, uint64_t max_size) {
    // Without O_NONBLOCK, a named pipe in the file's place holds open() until a writer comes.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int open_error = errno;
        error = describe("cannot open", file);
        return status_of(open_error);
    }
    auto refuse = [&](std::string why) {
        error = std::move(why);
        ::close(fd);
        return FileStatus::Failed;
    };
    // The stamp is taken before reading: if the file changes meanwhile, the next look sees a
    // newer stamp and reads it again.
    struct stat st;
    if (::fstat(fd, &st) != 0) return refuse(describe("cannot look at", file));
    if (!S_ISREG(st.st_mode)) return refuse(file.string() + " is not a regular file");
    if (static_cast<uint64_t>(st.st_size) > max_size)
        return refuse(file.string() + " is too large");
    // A regular file is read with ordinary blocking reads, as a slow disk needs.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    text.clear();
    text.reserve(static_cast<size_t>(st.st_size));
    if (!read_all(fd, text)) {
        text.clear();
        return refuse(describe("cannot read", file));
    }
    ::close(fd);
    stamp = stamp_of(st);
    return FileStatus::Ok;
}

bool replace_file(const std::filesystem::path& file, std::string_view text, FileStamp& stamp,
                  std::string& error, const DiskCalls& disk) {
    const std::filesystem::path target = resolve_link(file);
    struct stat old;
    const bool had_old = ::stat(target.c_str(), &old) == 0;
    if (had_old && (old.st_mode & 0222) == 0) {
        error = target.string() + " is read-only";
        return false;
    }
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::string prefix = temp_prefix(target);
    remove_dead_temps(folder, prefix);
    const std::filesystem::path temp = folder / (prefix + std::to_string(::getpid()) + ".tmp");

    const int fd = create_temp(disk, temp);
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
    if (!write_all(disk, fd, text)) return give_up("cannot write", temp);
    if (disk.sync(fd) != 0) return give_up("cannot sync", temp);
    if (disk.rename(temp.c_str(), target.c_str()) != 0) return give_up("cannot replace", target);
    // After the rename, so the stamp includes the change time the rename gave the inode.
    struct stat now;
    if (::fstat(fd, &now) == 0) stamp = stamp_of(now);
    ::close(fd);
    sync_folder(folder);
    return true;
}

}  // namespace settings
