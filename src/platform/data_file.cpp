// The POSIX side of the data file reader; a Windows build gives DataFile a sibling of its own.
#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

std::string what_it_is(mode_t mode) {
    if (S_ISDIR(mode)) return "is a directory";
    if (S_ISFIFO(mode)) return "is a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device";
    if (S_ISSOCK(mode)) return "is a socket";
    return "is not a regular file";
}

int fd_of(intptr_t handle) {
    return static_cast<int>(handle);
}

}  // namespace

DataFile::DataFile(const std::filesystem::path& path) {
    // Non-blocking, so that opening a named pipe returns at once instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        if (e == ENOENT || e == ENOTDIR) {
            fail(ErrorKind::Missing, "is missing");
        } else {
            fail(ErrorKind::Failed, std::string("cannot be opened: ") + std::strerror(e));
        }
        return;
    }
    handle_ = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        fail(ErrorKind::Failed, std::string("cannot be opened: ") + std::strerror(errno));
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        fail(ErrorKind::NotAFile, what_it_is(st.st_mode));
        return;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        fail(ErrorKind::Failed, std::string("cannot be opened: ") + std::strerror(errno));
        return;
    }
    size_ = static_cast<uint64_t>(st.st_size);
}

void DataFile::close_handle() {
    ::close(fd_of(handle_));
}

bool DataFile::seek(uint64_t offset) {
    return offset <= static_cast<uint64_t>(std::numeric_limits<off_t>::max()) &&
           ::lseek(fd_of(handle_), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

Result<void> DataFile::read_into(std::vector<uint8_t>& buffer, size_t& filled) {
    const int fd = fd_of(handle_);
    while (filled < buffer.size()) {
        const ssize_t got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Error{ErrorKind::Failed, std::strerror(errno)};
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    return {};
}

}  // namespace platform
