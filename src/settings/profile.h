#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// An initialisation-file store with the Windows profile rules: section and key names match
// without regard to case and surrounding blanks; lines starting with ';' are comments; the
// first of duplicate sections or keys wins; a value in matching quotes loses them; a read
// keeps at most buffer size minus one characters. A write replaces the key in place, or adds
// it at the end of its section, or adds the section at the end of the file, keeps every
// other line and the file's line endings, and replaces the file atomically.
//
// Reads are served from a parsed copy; poll() refreshes it when the file changed on disk.
class ProfileStore {
public:
    explicit ProfileStore(std::filesystem::path file);

    const std::filesystem::path& path() const { return path_; }

    // The value of section/key, or the default; at most buffer_size - 1 characters.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view default_value, size_t buffer_size) const;
    // Writes section/key = value. False, with the old file intact and one warning line,
    // when the new file could not be written.
    bool write(std::string_view section, std::string_view key, std::string_view value);
    // Re-reads the file if it changed on disk since the last look.
    void poll();

private:
    struct Entry {
        std::string section;  // lower-cased, trimmed
        std::string key;      // lower-cased, trimmed
        std::string value;    // trimmed, quotes removed
    };
    void load();

    std::filesystem::path path_;
    std::vector<Entry> entries_;  // first of duplicates first; searched in order
    std::filesystem::file_time_type stamp_{};
    uintmax_t stamp_size_ = 0;
    bool stamp_valid_ = false;
};

}  // namespace settings
