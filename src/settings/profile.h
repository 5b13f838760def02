#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"

namespace settings {

// The file layer's names, as the store uses them.
using platform::DiskCalls;
using platform::FileStamp;
// What the store last found at its path.
enum class FileStatus { Ok, Missing, Failed };

// An initialisation-file store with the Windows profile rules: section and key names match
// without regard to case and surrounding blanks; lines starting with ';' are comments; the
// first of duplicate sections or keys wins; a value in matching quotes loses them; a read
// keeps at most buffer size minus one characters. A write replaces the key in place, or adds
// it at the end of its section, or adds the section at the end of the file, keeps every
// other line and the file's line endings, and replaces the file atomically. A value that
// would not read back as written (blanks at either end, or matching quotes around it) is
// written in double quotes.
//
// Reads are served from a parsed copy; poll() refreshes it when the file changed on disk.
class ProfileStore {
  public:
    struct Change {
        std::string_view key;
        std::string_view value;
    };

    explicit ProfileStore(std::filesystem::path file);

    const std::filesystem::path& path() const { return path_; }

    // The value of section/key, or the default; at most buffer_size - 1 characters.
    // Never touches the disk.
    std::string read(std::string_view section, std::string_view key, std::string_view default_value,
                     size_t buffer_size) const;
    // Writes section/key = value. False, with the old file intact and a warning, when the
    // new file could not be written; the same disk failure again is not repeated.
    bool write(std::string_view section, std::string_view key, std::string_view value);
    // Writes every change into one section as a single replacement of the file: all of them
    // or, if any cannot be stored, none. A key named twice keeps its last value.
    bool write(std::string_view section, std::span<const Change> changes);
    // Re-reads the file if it changed on disk since the last look.
    void poll();
    // The disk that writes go to; tests fail it to stand in for a full disk.
    void use_disk(const DiskCalls& disk) { disk_ = &disk; }

  private:
    // A key line, as offsets into the file's text: the trimmed key, and the value trimmed
    // and without its quotes. Offsets keep the index small beside a large file; the key's
    // first eight bytes, folded, settle most comparisons without going to the text.
    struct Entry {
        uint64_t prefix;
        uint32_t key;
        uint32_t key_length;
        uint32_t value;
        uint32_t value_length;
    };
    // A section header, its key lines entries_[first, first + count) in key order, and where
    // a new key goes: after the section's last line that is not blank or a comment.
    struct Section {
        uint32_t name;
        uint32_t name_length;
        uint32_t first;
        uint32_t count;
        uint32_t insert_at;
    };
    struct Edit;

    void load();
    void parse(std::string text);
    void parse_line(size_t begin, size_t end, size_t next);
    void sort_index();
    void forget(FileStatus status);
    std::string_view slice(uint32_t offset, uint32_t length) const;
    const Section* find_section(std::string_view name) const;
    const Entry* find(std::string_view section, std::string_view key) const;
    std::string updated_text(std::string_view section, std::span<const Edit> edits) const;
    void add_keys(std::string& out, std::string_view section, std::span<const Edit> edits) const;
    void end_line(std::string& out) const;
    bool fail(std::string_view why) const;
    bool fail_on_disk(const std::string& why);

    std::filesystem::path path_;
    std::string text_;  // the file as read or last written, byte for byte
    // Sections sorted by name, the first in the file first among equal names; entries_ holds
    // each section's keys sorted alike. Sorting has no bad case, whatever the names.
    std::vector<Section> sections_;
    std::vector<Entry> entries_;
    std::string_view eol_ = "\n";
    FileStatus status_ = FileStatus::Missing;
    FileStamp stamp_{};
    bool stamp_valid_ = false;
    const DiskCalls* disk_ = &platform::real_disk();
    std::string last_disk_error_;  // said once, until a write succeeds
};

}  // namespace settings
