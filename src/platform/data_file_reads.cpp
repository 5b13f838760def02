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

void DataFile::fail(ReadError error, std::string reason) {
    if (is_open()) close_handle();
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
    if (!seek(offset)) return failed("cannot be read at byte " + std::to_string(offset));
    const uint64_t expected = size_ > offset ? size_ - offset : 0;
    try {
        // What the file held at opening, then more in steps while it still gives bytes.
        const uint64_t first = std::min(count, expected);
        // Room for one step more, so that finding the end of an unchanged file copies nothing.
        out.bytes.reserve(static_cast<size_t>(std::min(count, first + kGrowStep)));
        out.bytes.resize(static_cast<size_t>(first));
        size_t filled = 0;
        std::string why;
        for (;;) {
            if (!read_into(out.bytes, filled, why)) return failed("cannot be read: " + why);
            if (filled < out.bytes.size() || filled >= count) break;
            out.bytes.resize(filled + static_cast<size_t>(std::min(kGrowStep, count - filled)));
        }
        out.bytes.resize(filled);
    } catch (const std::exception&) {  // no memory for a buffer that large
        return failed("cannot be read: out of memory");
    }
    return out;
}

FileBytes read_data_file(const std::filesystem::path& path, uint64_t max_bytes) {
    DataFile file(path);
    const std::string too_large = "is larger than " + std::to_string(max_bytes) + " bytes";
    if (file.is_open() && file.size() > max_bytes) return {{}, ReadError::TooLarge, too_large};
    // One byte past the limit tells a file that grew since it was opened.
    const uint64_t ask = max_bytes == kNoSizeLimit ? kNoSizeLimit : max_bytes + 1;
    FileBytes bytes = file.read(0, ask);
    if (bytes && bytes.bytes.size() > max_bytes) return {{}, ReadError::TooLarge, too_large};
    return bytes;
}

FileBytes read_data_range(const std::filesystem::path& path, uint64_t offset, uint64_t count) {
    const char* const kShort = "ends before the bytes asked for";
    DataFile file(path);
    if (file.is_open() && (offset > file.size() || count > file.size() - offset)) {
        return {{}, ReadError::Short, kShort};
    }
    FileBytes bytes = file.read(offset, count);
    if (bytes && bytes.bytes.size() != count) {
        return {{}, ReadError::Short, kShort};
    }
    return bytes;
}

}  // namespace platform
