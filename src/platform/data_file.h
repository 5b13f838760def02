#pragma once
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

// The bytes read, or why there are none: Missing, NotAFile, TooLarge, Short or Failed, with a
// reason such as "is a directory" or "cannot be read: Input/output error".
using FileBytes = Result<std::vector<uint8_t>>;

inline constexpr uint64_t kNoSizeLimit = std::numeric_limits<uint64_t>::max();

// A data file opened for reading. Only a regular file opens; anything else is refused at once,
// so a named pipe in the data folder never blocks the game. Nothing here throws.
class DataFile {
  public:
    explicit DataFile(const std::filesystem::path& path);
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    bool is_open() const { return handle_ != kNoHandle; }
    // Why the file did not open; only for a file that is not open.
    const Error& error() const { return error_; }
    // The length the file had when it was opened.
    uint64_t size() const { return size_; }
    // Up to count bytes from offset, fewer when the file ends first.
    FileBytes read(uint64_t offset, uint64_t count);

  private:
    static constexpr intptr_t kNoHandle = -1;
    void fail(ErrorKind kind, std::string reason);

    // The system's side, one sibling per system; the rest is shared.
    void close_handle();
    // Moves to byte offset; false when the file can't be read there.
    bool seek(uint64_t offset);
    // Fills buffer[filled..] from the current position, stopping early at the file's end; a
    // read error comes back in the system's wording.
    Result<void> read_into(std::vector<uint8_t>& buffer, size_t& filled);

    intptr_t handle_ = kNoHandle;
    uint64_t size_ = 0;
    Error error_;
};

// The whole file; TooLarge when it holds more than max_bytes.
FileBytes read_data_file(const std::filesystem::path& path, uint64_t max_bytes = kNoSizeLimit);

// Exactly count bytes from offset; Short when the file ends first.
FileBytes read_data_range(const std::filesystem::path& path, uint64_t offset, uint64_t count);

}  // namespace platform
