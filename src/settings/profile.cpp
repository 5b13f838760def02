#include "settings/profile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>

#include "platform/log.h"

namespace settings {

namespace {

// The index holds 32-bit offsets; a settings file is a few hundred bytes.
constexpr uint64_t kMaxFileSize = UINT32_MAX;

// Space, tab, vertical tab, form feed and carriage return, as one mask test. '\n' never
// occurs inside a line; a '\r' before it belongs to the terminator.
constexpr uint64_t kBlanks =
    (1ull << ' ') | (1ull << '\t') | (1ull << '\v') | (1ull << '\f') | (1ull << '\r');
bool is_blank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= ' ' && ((kBlanks >> u) & 1) != 0;
}

std::string_view trim_left(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trim_right(std::string_view s) {
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view trim(std::string_view s) {
    return trim_right(trim_left(s));
}

std::string_view unquote(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
        return s.substr(1, s.size() - 2);
    }
    return s;
}

unsigned char lower(char c) {
    const auto u = static_cast<unsigned char>(c);
    return static_cast<unsigned char>(u - 'A') < 26 ? static_cast<unsigned char>(u | 0x20) : u;
}

// Eight bytes with ASCII capitals folded to lower case, all at once: the high bit of each
// byte of `upper` marks a byte from 'A' to 'Z', and 0x80 >> 2 is the case bit.
uint64_t folded_word(const char* p) {
    uint64_t x;
    std::memcpy(&x, p, sizeof x);
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    const uint64_t low = x & ~kHigh;
    const uint64_t from_a = low + 0x3F3F3F3F3F3F3F3Full;   // 0x80 - 'A'
    const uint64_t after_z = low + 0x2525252525252525ull;  // 0x80 - 'Z' - 1
    const uint64_t upper = from_a & ~after_z & ~x & kHigh;
    return x | (upper >> 2);
}

// Names compare byte by byte with ASCII letters folded to lower case, eight bytes a step, so
// that names sharing a long prefix still sort quickly.
int compare_names(std::string_view a, std::string_view b) {
    static_assert(std::endian::native == std::endian::little);
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const uint64_t x = folded_word(a.data() + i);
        const uint64_t y = folded_word(b.data() + i);
        // Byte-swapped, the first differing byte decides, as in a byte-wise compare.
        if (x != y) return __builtin_bswap64(x) < __builtin_bswap64(y) ? -1 : 1;
    }
    for (; i < n; ++i) {
        const unsigned char x = lower(a[i]);
        const unsigned char y = lower(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// A name's first eight bytes, folded and zero-padded, as a number that orders as they do.
uint64_t name_prefix(std::string_view name) {
    char bytes[8] = {};
    std::memcpy(bytes, name.data(), std::min(name.size(), sizeof bytes));
    return __builtin_bswap64(folded_word(bytes));
}

uint32_t size32(size_t n) {
    return static_cast<uint32_t>(n);
}

// Names that would change the file's structure if written: they could never be read back
// as the same key, or would break a line apart.
bool writable(std::string_view section, std::string_view key, std::string_view value) {
    auto breaks_line = [](std::string_view s) {
        return s.find_first_of("\r\n") != std::string_view::npos;
    };
    if (section.empty() || key.empty()) return false;
    if (breaks_line(section) || breaks_line(key) || breaks_line(value)) return false;
    if (section.find(']') != std::string_view::npos) return false;
    if (key.find('=') != std::string_view::npos) return false;
    return key.front() != ';' && key.front() != '[';
}

// The reader trims blanks and strips matching quotes; a value it would change is written in
// double quotes, which the reader takes off again.
std::string stored_value(std::string_view value) {
    const bool changed_by_reader =
        !value.empty() && (is_blank(value.front()) || is_blank(value.back()) ||
                           unquote(value).size() != value.size());
    if (!changed_by_reader) return std::string(value);
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted.append("\"").append(value).append("\"");
    return quoted;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

// One key of a write: the value as it goes into the file, and the line it replaces, if any.
struct ProfileStore::Edit {
    std::string_view key;
    std::string value;
    const Entry* existing = nullptr;
};

namespace {

// A key named twice keeps its first place and its last value, as two writes in a row would.
template <typename Edit>
void merge_repeated_keys(std::vector<Edit>& edits) {
    std::vector<size_t> order(edits.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return compare_names(edits[a].key, edits[b].key) < 0;
    });
    std::vector<bool> dropped(edits.size());
    for (size_t i = 1, first = order[0]; i < order.size(); ++i) {
        if (compare_names(edits[order[i]].key, edits[first].key) != 0) {
            first = order[i];
            continue;
        }
        edits[first].value = std::move(edits[order[i]].value);
        dropped[order[i]] = true;
    }
    size_t kept = 0;
    for (size_t i = 0; i < edits.size(); ++i) {
        if (dropped[i]) continue;
        if (kept != i) edits[kept] = std::move(edits[i]);
        ++kept;
    }
    edits.resize(kept);
}

}  // namespace

ProfileStore::ProfileStore(std::filesystem::path file) : path_(std::move(file)) {
    load();
}

std::string ProfileStore::read(std::string_view section, std::string_view key,
                               std::string_view default_value, size_t buffer_size) const {
    if (buffer_size == 0) return {};
    std::string_view text;
    if (const Entry* e = find(section, key)) {
        text = slice(e->value, e->value_length);
    } else {
        // As the profile functions do, trailing blanks of the default are dropped.
        text = trim_right(default_value);
    }
    return std::string(text.substr(0, buffer_size - 1));
}

std::string_view ProfileStore::slice(uint32_t offset, uint32_t length) const {
    return std::string_view(text_).substr(offset, length);
}

const ProfileStore::Section* ProfileStore::find_section(std::string_view name) const {
    const auto it = std::lower_bound(sections_.begin(), sections_.end(), name,
                                     [this](const Section& s, std::string_view n) {
                                         return compare_names(slice(s.name, s.name_length), n) < 0;
                                     });
    if (it == sections_.end() || compare_names(slice(it->name, it->name_length), name) != 0) {
        return nullptr;
    }
    return &*it;
}

const ProfileStore::Entry* ProfileStore::find(std::string_view section,
                                              std::string_view key) const {
    const Section* s = find_section(trim(section));
    if (s == nullptr) return nullptr;
    key = trim(key);
    const auto first = entries_.begin() + s->first;
    const auto last = first + s->count;
    const uint64_t prefix = name_prefix(key);
    const auto it = std::lower_bound(first, last, key, [&](const Entry& e, std::string_view k) {
        if (e.prefix != prefix) return e.prefix < prefix;
        return compare_names(slice(e.key, e.key_length), k) < 0;
    });
    if (it == last || compare_names(slice(it->key, it->key_length), key) != 0) return nullptr;
    return &*it;
}

namespace {

// A file that is not there is a store of defaults; any other failure leaves the file alone.
FileStatus status_of(const platform::Error& e) {
    return e.kind == platform::ErrorKind::Missing ? FileStatus::Missing : FileStatus::Failed;
}

}  // namespace

void ProfileStore::poll() {
    const platform::Result<FileStamp> now = platform::stamp_file(path_);
    if (now) {
        if (!stamp_valid_ || !(*now == stamp_)) load();
        return;
    }
    const FileStatus status = status_of(now.error());
    if (status_ != status) forget(status);
}

void ProfileStore::load() {
    platform::Result<platform::FileText> read = platform::read_whole_file(path_, kMaxFileSize);
    if (read) {
        parse(std::move(read->text));
        status_ = FileStatus::Ok;
        stamp_ = read->stamp;
        stamp_valid_ = true;
        return;
    }
    const FileStatus status = status_of(read.error());
    forget(status);
    if (status == FileStatus::Missing) return;
    platform::warn("settings left at their defaults: " + read.error().reason);
    // An unreadable file is not tried again until it changes (a chmod changes its stamp).
    const platform::Result<FileStamp> now = platform::stamp_file(path_);
    stamp_valid_ = now.ok();
    if (now) stamp_ = *now;
}

void ProfileStore::forget(FileStatus status) {
    parse(std::string());
    status_ = status;
    stamp_valid_ = false;
}

void ProfileStore::parse(std::string text) {
    text_ = std::move(text);
    eol_ = "\n";
    // Reserved to an upper bound of headers and key lines, so that the index never grows by
    // copying; reserved pages that stay unused take no memory.
    const auto lines = static_cast<size_t>(std::count(text_.begin(), text_.end(), '\n')) + 1;
    const auto brackets = static_cast<size_t>(std::count(text_.begin(), text_.end(), '['));
    const auto equals = static_cast<size_t>(std::count(text_.begin(), text_.end(), '='));
    sections_ = {};
    entries_ = {};
    sections_.reserve(std::min(lines, brackets));
    entries_.reserve(std::min(lines, equals));

    bool eol_seen = false;
    for (size_t pos = 0; pos < text_.size();) {
        const size_t nl = text_.find('\n', pos);
        const size_t next = nl == std::string::npos ? text_.size() : nl + 1;
        size_t end = nl == std::string::npos ? text_.size() : nl;
        if (end > pos && text_[end - 1] == '\r') --end;
        if (!eol_seen && nl != std::string::npos) {
            eol_ = end < nl ? "\r\n" : "\n";
            eol_seen = true;
        }
        parse_line(pos, end, next);
        pos = next;
    }
    sort_index();
}

void ProfileStore::parse_line(size_t begin, size_t end, size_t next) {
    const std::string_view all(text_);
    std::string_view line = all.substr(begin, end - begin);
    if (begin == 0 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    line = trim_left(line);
    if (line.empty() || line.front() == ';') return;
    auto offset = [&](std::string_view part) { return size32(part.data() - all.data()); };
    const size_t close = line.find(']');
    if (line.front() == '[' && close != std::string_view::npos) {
        const std::string_view name = trim(line.substr(1, close - 1));
        sections_.push_back(
            {offset(name), size32(name.size()), size32(entries_.size()), 0, size32(next)});
        return;
    }
    if (sections_.empty()) return;  // keys before the first section belong to none
    Section& section = sections_.back();
    section.insert_at = size32(next);
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view key = trim(line.substr(0, eq));
    if (key.empty()) return;
    const std::string_view value = unquote(trim(line.substr(eq + 1)));
    entries_.push_back(
        {name_prefix(key), offset(key), size32(key.size()), offset(value), size32(value.size())});
    ++section.count;
}

// Equal names stay in file order, so a lookup's lower bound is the first of duplicates.
void ProfileStore::sort_index() {
    std::sort(sections_.begin(), sections_.end(), [this](const Section& a, const Section& b) {
        const int c = compare_names(slice(a.name, a.name_length), slice(b.name, b.name_length));
        return c != 0 ? c < 0 : a.name < b.name;
    });
    auto by_key = [this](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        const int c = compare_names(slice(a.key, a.key_length), slice(b.key, b.key_length));
        return c != 0 ? c < 0 : a.key < b.key;
    };
    for (const Section& s : sections_) {
        const auto first = entries_.begin() + s.first;
        std::sort(first, first + s.count, by_key);
    }
}

bool ProfileStore::write(std::string_view section, std::string_view key, std::string_view value) {
    const std::array<Change, 1> change{{{key, value}}};
    return write(section, change);
}

bool ProfileStore::write(std::string_view section, std::span<const Change> changes) {
    section = trim(section);
    std::vector<Edit> edits;
    edits.reserve(changes.size());
    // Everything is checked before anything is written, so a table is never saved in part.
    for (const Change& c : changes) {
        const std::string_view key = trim(c.key);
        if (!writable(section, key, c.value)) {
            // The names themselves are left out: they may hold the very line break refused.
            return fail("a section, key or value holds a line break or a reserved character");
        }
        edits.push_back({key, stored_value(c.value)});
    }
    if (edits.empty()) return true;
    merge_repeated_keys(edits);
    // Build on what is on disk now, so a change made outside since the last poll survives.
    poll();
    if (status_ == FileStatus::Failed) {
        return fail_on_disk("the file could not be read, so it is left as it was");
    }
    for (Edit& e : edits) e.existing = find(section, e.key);
    std::string text = updated_text(section, edits);
    if (status_ == FileStatus::Ok && text == text_) return true;
    if (text.size() > kMaxFileSize) return fail_on_disk("the file would grow too large");

    // The player's folder is made by the first write, not before; a failure to make it shows
    // as the write's own failure below.
    std::error_code ec;
    if (status_ == FileStatus::Missing && path_.has_parent_path())
        std::filesystem::create_directories(path_.parent_path(), ec);
    const platform::Result<FileStamp> written = platform::replace_file(path_, text, *disk_);
    if (!written) return fail_on_disk(written.error().reason);
    last_disk_error_.clear();
    parse(std::move(text));
    status_ = FileStatus::Ok;
    stamp_ = *written;
    stamp_valid_ = true;
    return true;
}

// One pass over the old text: keys that exist are replaced in place, in file order; new keys
// go in together after the section's last line, or in a new section at the end.
std::string ProfileStore::updated_text(std::string_view section,
                                       std::span<const Edit> edits) const {
    const Section* s = find_section(section);
    const size_t insert_at = s != nullptr ? s->insert_at : text_.size();
    std::vector<const Edit*> replaced;
    size_t extra = section.size() + 4;
    for (const Edit& e : edits) {
        if (e.existing != nullptr) replaced.push_back(&e);
        extra += e.key.size() + e.value.size() + 3;
    }
    std::sort(replaced.begin(), replaced.end(),
              [](const Edit* a, const Edit* b) { return a->existing->key < b->existing->key; });

    std::string out;
    out.reserve(text_.size() + extra);
    size_t copied = 0;
    auto copy_to = [&](size_t pos) {
        out.append(text_, copied, pos - copied);
        copied = pos;
    };
    bool added = false;
    auto add = [&] {
        copy_to(insert_at);
        add_keys(out, s != nullptr ? std::string_view() : section, edits);
        added = true;
    };
    for (const Edit* e : replaced) {
        const size_t key_end = e->existing->key + e->existing->key_length;
        if (!added && insert_at <= key_end) add();
        // The key keeps its spelling and indentation; the rest of its line is replaced.
        copy_to(key_end);
        out.append("=").append(e->value);
        size_t line_end = text_.find('\n', e->existing->value + e->existing->value_length);
        if (line_end == std::string::npos) line_end = text_.size();
        if (line_end > key_end && text_[line_end - 1] == '\r') --line_end;
        copied = line_end;
    }
    if (!added) add();
    copy_to(text_.size());
    return out;
}

// Appends the new keys, under a new header when `header` names one.
void ProfileStore::add_keys(std::string& out, std::string_view header,
                            std::span<const Edit> edits) const {
    const bool any = std::any_of(edits.begin(), edits.end(),
                                 [](const Edit& e) { return e.existing == nullptr; });
    if (!any) return;
    end_line(out);
    if (!header.empty()) out.append("[").append(header).append("]").append(eol_);
    for (const Edit& e : edits) {
        if (e.existing == nullptr) out.append(e.key).append("=").append(e.value).append(eol_);
    }
}

// Makes sure the text so far ends a line, so that a line added after a last line without a
// terminator does not join it.
void ProfileStore::end_line(std::string& out) const {
    if (out.empty() || out.back() == '\n') return;
    if (out.back() == '\r') {
        out += '\n';
    } else {
        out += eol_;
    }
}

bool ProfileStore::fail(std::string_view why) const {
    platform::warn("settings not saved to " + path_.string() + ": " + std::string(why));
    return false;
}

// A folder that stays read-only or a disk that stays full fails every write the same way;
// the player hears of it once.
bool ProfileStore::fail_on_disk(const std::string& why) {
    if (why == last_disk_error_) return false;
    last_disk_error_ = why;
    return fail(why);
}

}  // namespace settings
