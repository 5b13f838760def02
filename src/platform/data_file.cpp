// The POSIX side of the data file reader; a Windows build gives DataFile a sibling of its own.
#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

namespace platform {

namespace {

// Bytes asked for beyond what the file held at opening are read in steps of this size, so a
// large count never allocates much more than the file gives.
constexpr uint64_t kGrowStep = 64u << 10;

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

// Fills buffer[filled..] from the file's current position; false on a read error, with errno
// set. Stops early at the end of the file.
bool read_into(int fd, std::vector<uint8_t>& buffer, size_t& filled) {
    while (filled < buffer.size()) {
        const ssize_t got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    return true;
}

}  // namespace

DataFile::DataFile(const std::filesystem::path& path) {
    // Non-blocking, so that opening a named pipe returns at once instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        if (e == ENOENT || e == ENOTDIR) {
            fail(ReadError::Missing, "is missing");
        } else {
            fail(ReadError::Failed, std::string("cannot be opened: ") + std::strerror(e));
        }
        return;
    }
    handle_ = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        fail(ReadError::Failed, std::string("cannot be opened: ") + std::strerror(errno));
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        fail(ReadError::NotAFile, what_it_is(st.st_mode));
        return;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        fail(ReadError::Failed, std::string("cannot be opened: ") + std::strerror(errno));
        return;
    }
    size_ = static_cast<uint64_t>(st.st_size);
}

DataFile::~DataFile() {
    if (is_open()) ::close(fd_of(handle_));
}

void DataFile::fail(ReadError error, std::string reason) {
    if (is_open()) ::close(fd_of(handle_));
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
    const int fd = fd_of(handle_);
    if (offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max()) ||
        ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
        return failed("cannot be read at byte " + std::to_string(offset));
    }
    const uint64_t expected = size_ > offset ? size_ - offset : 0;
    try {
        // What the file held at opening, then more in steps while it still gives bytes.
        const uint64_t first = std::min(count, expected);
        // Room for one step more, so that finding the end of an unchanged file copies nothing.
        out.bytes.reserve(static_cast<size_t>(std::min(count, first + kGrowStep)));
        out.bytes.resize(static_cast<size_t>(first));
        size_t filled = 0;
        for (;;) {
            if (!read_into(fd, out.bytes, filled)) {
                return failed(std::string("cannot be read: ") + std::strerror(errno));
            }
            if (filled < out.bytes.size() || filled >= count) break;
            out.bytes.resize(filled + static_cast<size_t>(std::min(kGrowStep, count - filled)));
        }
        out.bytes.resize(filled);
    } catch (const std::exception&) {  // no memory for a buffer that large
        return failed("cannot be read: out of memory");
    }
    return out;
}

}  // namespace platform
