#include "settings/profile.h"

#include "platform/log.h"

namespace settings {

namespace {

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

char lower(char c) {
    // Branch-free, so that the loops over a name stay short.
    const bool upper = static_cast<unsigned char>(c - 'A') < 26;
    return static_cast<char>(c | (upper << 5));
}

// FNV-1a over the lower-cased name, one byte at a time.
constexpr uint64_t kFnvStart = 14695981039346656037ull;
uint64_t fnv(uint64_t h, char c) {
    return (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
}

uint64_t hash_name(std::string_view name) {
    uint64_t h = kFnvStart;
    for (char c : name) h = fnv(h, c);
    return h;
}

void append_lower(std::string& out, std::string_view s) {
    for (char c : s) out += lower(c);
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

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

ProfileStore::ProfileStore(std::filesystem::path file) : path_(std::move(file)) {
    load();
}

std::string ProfileStore::read(std::string_view section, std::string_view key,
                               std::string_view default_value, size_t buffer_size) const {
    if (buffer_size == 0) return {};
    std::string_view text;
    if (const Value* v = find(section, key)) {
        text = std::string_view(text_).substr(v->offset, v->length);
    } else {
        // As the profile functions do, trailing blanks of the default are dropped.
        text = trim_right(default_value);
    }
    return std::string(text.substr(0, buffer_size - 1));
}

const ProfileStore::Value* ProfileStore::find(std::string_view section,
                                              std::string_view key) const {
    section = trim(section);
    key = trim(key);
    // The lookup name is built on the stack: the high-score display reads twenty keys a
    // frame, and none of them should cost an allocation.
    char small[64];
    if (section.size() + 1 + key.size() > sizeof small) return find_long(section, key);
    return find_name(small, section, key);
}

const ProfileStore::Value* ProfileStore::find_long(std::string_view section,
                                                   std::string_view key) const {
    std::string name(section.size() + 1 + key.size(), '\0');
    return find_name(name.data(), section, key);
}

const ProfileStore::Value* ProfileStore::find_name(char* buffer, std::string_view section,
                                                   std::string_view key) const {
    // One pass lower-cases and hashes; the multiply chain keeps the compiler from
    // vectorising a loop that runs a dozen times.
    uint64_t h = kFnvStart;
    char* out = buffer;
    for (char c : section) h = fnv(h, *out++ = lower(c));
    h = fnv(h, *out++ = '\n');
    for (char c : key) h = fnv(h, *out++ = lower(c));

    const std::string_view wanted(buffer, static_cast<size_t>(out - buffer));
    const size_t mask = slots_.size() - 1;
    for (size_t i = h & mask; !slots_.empty(); i = (i + 1) & mask) {
        if (slots_[i] == 0) return nullptr;
        const Value& v = values_[slots_[i] - 1];
        if (v.hash == h && v.name == wanted) return &v;
    }
    return nullptr;
}

void ProfileStore::index_values() {
    size_t size = 16;
    while (size < values_.size() * 2) size *= 2;
    slots_.assign(size, 0);
    const size_t mask = size - 1;
    for (size_t v = 0; v < values_.size(); ++v) {
        size_t i = values_[v].hash & mask;
        while (slots_[i] != 0 && values_[slots_[i] - 1].name != values_[v].name) {
            i = (i + 1) & mask;
        }
        // The first of duplicate keys keeps the slot.
        if (slots_[i] == 0) slots_[i] = static_cast<uint32_t>(v + 1);
    }
}

void ProfileStore::poll() {
    FileStamp now;
    switch (stamp_file(path_, now)) {
        case FileStatus::Ok:
            if (!stamp_valid_ || !(now == stamp_)) load();
            break;
        case FileStatus::Missing:
            if (status_ != FileStatus::Missing) forget(FileStatus::Missing);
            break;
        case FileStatus::Failed:
            if (status_ != FileStatus::Failed) forget(FileStatus::Failed);
            break;
    }
}

void ProfileStore::load() {
    std::string text;
    FileStamp stamp;
    const FileStatus status = read_whole_file(path_, text, stamp);
    if (status == FileStatus::Ok) {
        parse(std::move(text));
        status_ = FileStatus::Ok;
        stamp_ = stamp;
        stamp_valid_ = true;
        return;
    }
    forget(status);
    // An unreadable file is not tried again until it changes (a chmod changes its stamp).
    if (status == FileStatus::Failed) stamp_valid_ = stamp_file(path_, stamp_) == FileStatus::Ok;
}

void ProfileStore::forget(FileStatus status) {
    parse(std::string());
    status_ = status;
    stamp_valid_ = false;
}

void ProfileStore::parse(std::string text) {
    text_ = std::move(text);
    lines_.clear();
    sections_.clear();
    values_.clear();
    eol_ = "\n";

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
        lines_.push_back({pos, end, next});
        pos = next;
    }

    const std::string_view all(text_);
    Section* current = nullptr;  // null before the first section and inside a duplicate
    std::string name;            // "section\n" of the current section, then the key
    size_t section_name_size = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view line = all.substr(lines_[i].begin, lines_[i].end - lines_[i].begin);
        if (i == 0 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
        line = trim_left(line);
        if (line.empty() || line.front() == ';') continue;
        const size_t close = line.find(']');
        if (line.front() == '[' && close != std::string_view::npos) {
            name.clear();
            append_lower(name, trim(line.substr(1, close - 1)));
            const auto [it, fresh] = sections_.try_emplace(name, Section{i});
            current = fresh ? &it->second : nullptr;
            name += '\n';
            section_name_size = name.size();
            continue;
        }
        if (current == nullptr) continue;
        current->last_content = i;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = trim(line.substr(0, eq));
        if (key.empty()) continue;
        const std::string_view value = unquote(trim(line.substr(eq + 1)));
        name.resize(section_name_size);
        append_lower(name, key);
        values_.push_back({name, hash_name(name), static_cast<size_t>(value.data() - all.data()),
                           value.size(), i});
    }
    index_values();
}

bool ProfileStore::write(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    if (!writable(section, key, value)) {
        // The names themselves are left out: they may hold the very line break refused here.
        return fail("a section, key or value holds a line break or a reserved character");
    }
    // Build on what is on disk now, so a change made outside since the last poll survives.
    poll();
    if (status_ == FileStatus::Failed) {
        return fail("the file could not be read, so it is left as it was");
    }
    std::string text = updated_text(section, key, value);
    if (status_ == FileStatus::Ok && text == text_) return true;

    FileStamp stamp;
    std::string error;
    if (!replace_file(path_, text, stamp, error)) return fail(error);
    parse(std::move(text));
    status_ = FileStatus::Ok;
    stamp_ = stamp;
    stamp_valid_ = true;
    return true;
}

std::string ProfileStore::updated_text(std::string_view section, std::string_view key,
                                       std::string_view value) const {
    std::string out;
    out.reserve(text_.size() + section.size() + key.size() + value.size() + 8);
    if (const Value* v = find(section, key)) {
        // The key keeps its spelling and indentation; the rest of its line is replaced.
        const Line& line = lines_[v->line];
        size_t key_end = text_.find('=', line.begin);
        while (key_end > line.begin && is_blank(text_[key_end - 1])) --key_end;
        out.append(text_, 0, key_end);
        out += '=';
        out += value;
        out.append(text_, line.end, std::string::npos);
        return out;
    }
    std::string lowered;
    append_lower(lowered, section);
    if (const auto it = sections_.find(lowered); it != sections_.end()) {
        const Line& after = lines_[it->second.last_content];
        append_terminated(out, after.next);
        out.append(key).append("=").append(value).append(eol_);
        out.append(text_, after.next, std::string::npos);
        return out;
    }
    append_terminated(out, text_.size());
    out.append("[").append(section).append("]").append(eol_);
    out.append(key).append("=").append(value).append(eol_);
    return out;
}

// Copies the text up to `upto` and makes sure it ends a line, so that a line added after a
// last line without a terminator does not join it.
void ProfileStore::append_terminated(std::string& out, size_t upto) const {
    out.append(text_, 0, upto);
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

}  // namespace settings
