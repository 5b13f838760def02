#pragma once
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace platform {

// Why a data file gave no bytes.
enum class ReadError {
    None,
    Missing,   // no such file or folder
    NotAFile,  // a directory, a named pipe, a device: never waited on
    TooLarge,  // longer than the reader's limit
    Short,     // ends before the bytes asked for
    Failed,    // refused or broken: permissions, an I/O error, no memory
};

// The bytes read, or why there are none.
struct FileBytes {
    std::vector<uint8_t> bytes;
    ReadError error = ReadError::None;
    std::string reason;  // "is a directory", "Input/output error", ...; empty when read

    explicit operator bool() const { return error == ReadError::None; }
};

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
    ReadError error() const { return error_; }
    const std::string& reason() const { return reason_; }
    // The length the file had when it was opened.
    uint64_t size() const { return size_; }
    // Up to count bytes from offset, fewer when the file ends first.
    FileBytes read(uint64_t offset, uint64_t count);

  private:
    static constexpr intptr_t kNoHandle = -1;
    void fail(ReadError error, std::string reason);

    // The system's side, one sibling per system; the rest is shared.
    void close_handle();
    // Moves to byte offset; false when the file can't be read there.
    bool seek(uint64_t offset);
    // Fills buffer[filled..] from the current position, stopping early at the file's end;
    // false on a read error, with the system's wording in why.
    bool read_into(std::vector<uint8_t>& buffer, size_t& filled, std::string& why);

    intptr_t handle_ = kNoHandle;
    uint64_t size_ = 0;
    ReadError error_ = ReadError::None;
    std::string reason_;
};

// The whole file; TooLarge when it holds more than max_bytes.
FileBytes read_data_file(const std::filesystem::path& path, uint64_t max_bytes = kNoSizeLimit);

// Exactly count bytes from offset; Short when the file ends first.
FileBytes read_data_range(const std::filesystem::path& path, uint64_t offset, uint64_t count);

}  // namespace platform
