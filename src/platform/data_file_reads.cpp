// What DataFile does the same on every system, over its system's side (data_file.cpp on POSIX
// systems, a sibling on Windows): failing, reading with growth, whole files and byte ranges.
#include <algorithm>
#include <exception>

#include "platform/data_file.h"

namespace platform {

namespace {

// Bytes asked for beyond what the file held at opening are read in steps of this size, so a
// large count never allocates much more than the file gives.
constexpr uint64_t kGrowStep = 64u << 10;

}  // namespace

DataFile::~DataFile() {
    if (is_open()) close_handle();
}

void DataFile::fail(ErrorKind kind, std::string reason) {
    if (is_open()) close_handle();
    handle_ = kNoHandle;
    error_ = {kind, std::move(reason)};
}

FileBytes DataFile::read(uint64_t offset, uint64_t count) {
    if (!is_open()) return error_;
    if (!seek(offset))
        return Error{ErrorKind::Failed, "cannot be read at byte " + std::to_string(offset)};
    const uint64_t expected = size_ > offset ? size_ - offset : 0;
    std::vector<uint8_t> bytes;
    try {
        // What the file held at opening, then more in steps while it still gives bytes.
        const uint64_t first = std::min(count, expected);
        // Room for one step more, so that finding the end of an unchanged file copies nothing.
        bytes.reserve(static_cast<size_t>(std::min(count, first + kGrowStep)));
        bytes.resize(static_cast<size_t>(first));
        size_t filled = 0;
        for (;;) {
            if (const Result<void> r = read_into(bytes, filled); !r)
                return Error{ErrorKind::Failed, "cannot be read: " + r.error().reason};
            if (filled < bytes.size() || filled >= count) break;
            bytes.resize(filled + static_cast<size_t>(std::min(kGrowStep, count - filled)));
        }
        bytes.resize(filled);
    } catch (const std::exception&) {  // no memory for a buffer that large
        return Error{ErrorKind::Failed, "cannot be read: out of memory"};
    }
    return bytes;
}

FileBytes read_data_file(const std::filesystem::path& path, uint64_t max_bytes) {
    DataFile file(path);
    const Error too_large{ErrorKind::TooLarge,
                          "is larger than " + std::to_string(max_bytes) + " bytes"};
    if (file.is_open() && file.size() > max_bytes) return too_large;
    // One byte past the limit tells a file that grew since it was opened.
    const uint64_t ask = max_bytes == kNoSizeLimit ? kNoSizeLimit : max_bytes + 1;
    FileBytes bytes = file.read(0, ask);
    if (bytes && bytes->size() > max_bytes) return too_large;
    return bytes;
}

FileBytes read_data_range(const std::filesystem::path& path, uint64_t offset, uint64_t count) {
    const Error short_file{ErrorKind::Short, "ends before the bytes asked for"};
    DataFile file(path);
    if (file.is_open() && (offset > file.size() || count > file.size() - offset)) return short_file;
    FileBytes bytes = file.read(offset, count);
    if (bytes && bytes->size() != count) return short_file;
    return bytes;
}

}  // namespace platform
