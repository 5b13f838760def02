#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data_file.h"

namespace platform {

// A data file's length, or why it has none (as for FileBytes).
using FileLength = Result<uint64_t>;

// Where the pictures, sounds and script come from: a folder on disk, or bytes in memory for
// tests. Files are named relative to the pack, with forward slashes ("image/data.bmp").
// Nothing here throws.
class DataSource {
  public:
    virtual ~DataSource() = default;

    // The whole file; TooLarge when it holds more than max_bytes.
    virtual FileBytes read(std::string_view name, uint64_t max_bytes) const = 0;
    // Exactly count bytes from first; Short when the file ends first.
    virtual FileBytes read_range(std::string_view name, uint64_t first, uint64_t count) const = 0;
    // Up to count bytes from the start: fewer, without an error, when the file is shorter.
    virtual FileBytes read_head(std::string_view name, uint64_t count) const = 0;
    virtual FileLength size(std::string_view name) const = 0;
    // The file as a message names it: "vasul.spt" for the game run from its folder.
    virtual std::string shown(std::string_view name) const = 0;
    // A folder in full, for a message that says where files were looked for.
    virtual std::string shown_in_full(std::string_view folder) const = 0;
};

// The files of a folder on disk, read through DataFile: anything but a regular file is refused.
class FileDataSource final : public DataSource {
  public:
    explicit FileDataSource(std::filesystem::path folder) : folder_(std::move(folder)) {}

    FileBytes read(std::string_view name, uint64_t max_bytes) const override;
    FileBytes read_range(std::string_view name, uint64_t first, uint64_t count) const override;
    FileBytes read_head(std::string_view name, uint64_t count) const override;
    FileLength size(std::string_view name) const override;
    std::string shown(std::string_view name) const override;
    std::string shown_in_full(std::string_view folder) const override;

  private:
    std::filesystem::path path(std::string_view name) const { return folder_ / name; }

    std::filesystem::path folder_;
};

using SharedBytes = std::shared_ptr<const std::vector<uint8_t>>;
using DataFiles = std::map<std::string, SharedBytes, std::less<>>;

// Files held in memory. Copies share the bytes, so many games can read one pack built once.
class MemoryDataSource final : public DataSource {
  public:
    MemoryDataSource() = default;
    explicit MemoryDataSource(DataFiles files) : files_(std::move(files)) {}

    // Adds the file, or replaces it.
    void put(std::string name, std::vector<uint8_t> bytes);
    void remove(std::string_view name);

    FileBytes read(std::string_view name, uint64_t max_bytes) const override;
    FileBytes read_range(std::string_view name, uint64_t first, uint64_t count) const override;
    FileBytes read_head(std::string_view name, uint64_t count) const override;
    FileLength size(std::string_view name) const override;
    std::string shown(std::string_view name) const override { return std::string(name); }
    std::string shown_in_full(std::string_view folder) const override;

  private:
    // The file's bytes, or null when there is no such file.
    const std::vector<uint8_t>* find(std::string_view name) const;

    DataFiles files_;
};

}  // namespace platform
