#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/file_io.h"

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
    // Never touches the disk.
    std::string read(std::string_view section, std::string_view key, std::string_view default_value,
                     size_t buffer_size) const;
    // Writes section/key = value. False, with the old file intact and one warning line,
    // when the new file could not be written.
    bool write(std::string_view section, std::string_view key, std::string_view value);
    // Re-reads the file if it changed on disk since the last look.
    void poll();

  private:
    // One line of the file: its text is [begin, end), its terminator [end, next).
    struct Line {
        size_t begin;
        size_t end;
        size_t next;
    };
    // The first section of a name; later ones of the same name are invisible.
    struct Section {
        size_t last_content;  // line index of its last key line (the header when it has none)
    };
    // A value is a slice of the file's text: trimmed, quotes removed. It is found under its
    // lower-cased "section\nkey" ('\n' cannot occur in a name).
    struct Value {
        std::string name;
        uint64_t hash;
        size_t offset;
        size_t length;
        size_t line;
    };
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    void load();
    void parse(std::string text);
    void index_values();
    void forget(FileStatus status);
    const Value* find(std::string_view section, std::string_view key) const;
    const Value* find_long(std::string_view section, std::string_view key) const;
    // Looks up the lower-cased "section\nkey", built in buffer.
    const Value* find_name(char* buffer, std::string_view section, std::string_view key) const;
    std::string updated_text(std::string_view section, std::string_view key,
                             std::string_view value) const;
    void append_terminated(std::string& out, size_t upto) const;
    bool fail(std::string_view why) const;

    std::filesystem::path path_;
    std::string text_;  // the file as read or last written, byte for byte
    std::vector<Line> lines_;
    // By lower-cased, trimmed name; only writes look sections up.
    std::unordered_map<std::string, Section, NameHash, std::equal_to<>> sections_;
    // Reads are the hot path (the high-score display makes twenty a frame), so values sit in
    // an open-addressing table: slots_ holds index + 1 into values_, 0 when free, and is at
    // most half full. values_ may hold later duplicates that no slot refers to.
    std::vector<Value> values_;
    std::vector<uint32_t> slots_;
    std::string_view eol_ = "\n";
    FileStatus status_ = FileStatus::Missing;
    FileStamp stamp_{};
    bool stamp_valid_ = false;
};

}  // namespace settings
