// The settings file: any text is loaded, then a few keys are written, one at a time or as one
// batch. A written value must read back exactly, from the store and from the file; no other
// key may change; a refused write must leave the file as it was.
//
// Input: the file's text, then for each write after a zero byte: a section choice, a key
// choice and the value, up to the next zero byte.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "settings/profile.h"

namespace {

using Name = std::pair<std::string, std::string>;  // section, key

constexpr size_t kMaxWrites = 4;
constexpr size_t kMaxProbes = 48;
constexpr std::string_view kMissing = "\x01missing";

// The game's own keys: the settings and the high-score table.
const std::array<Name, 12> kGameKeys = {{{"cg", "fps"},
                                         {"music", "bgmon"},
                                         {"music", "seon"},
                                         {"music", "bgm"},
                                         {"music", "se"},
                                         {"mode", "level"},
                                         {"sound", "loop"},
                                         {"sound", "vol"},
                                         {"score", "sco0"},
                                         {"score", "nam0"},
                                         {"score", "sum0"},
                                         {"Score", "NAM9"}}};

std::string_view strip(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

std::string folded(std::string_view s) {
    std::string out(strip(s));
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// Two names the store may treat as one: equal but for case and surrounding blanks.
bool may_be_same(const Name& a, const Name& b) {
    return folded(a.first) == folded(b.first) && folded(a.second) == folded(b.second);
}

// The section and key names the text seems to hold, beside the game's own; a rough reading
// is enough, since they only choose what to look at.
std::vector<Name> probe_names(std::string_view text) {
    std::vector<Name> names(kGameKeys.begin(), kGameKeys.end());
    std::string section;
    size_t pos = 0;
    while (pos < text.size() && names.size() < kMaxProbes) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = strip(text.substr(pos, end - pos));
        pos = end + 1;
        const size_t close = line.find(']');
        if (line.starts_with('[') && close != std::string_view::npos) {
            section = std::string(strip(line.substr(1, close - 1)));
        } else if (const size_t eq = line.find('='); eq != std::string_view::npos && eq > 0) {
            if (!section.empty()) names.emplace_back(section, strip(line.substr(0, eq)));
        }
    }
    return names;
}

std::vector<std::string> read_all(const settings::ProfileStore& store,
                                  const std::vector<Name>& names) {
    std::vector<std::string> values;
    for (const Name& n : names) values.push_back(store.read(n.first, n.second, kMissing, 1 << 20));
    return values;
}

struct Write {
    Name name;
    std::string value;
};

std::vector<Write> parse_writes(std::string_view ops, const std::vector<Name>& names) {
    std::vector<Write> writes;
    while (ops.size() >= 2 && writes.size() < kMaxWrites) {
        const auto section = static_cast<unsigned char>(ops[0]);
        const auto key = static_cast<unsigned char>(ops[1]);
        ops.remove_prefix(2);
        const size_t end = std::min(ops.find('\0'), ops.size());
        Write w{{names[section % names.size()].first, names[key % names.size()].second},
                std::string(ops.substr(0, end))};
        // Odd choices shout the section's name, as a hand-edited file might.
        if (section & 0x80) {
            for (char& c : w.name.first) {
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            }
        }
        writes.push_back(std::move(w));
        ops.remove_prefix(std::min(end + 1, ops.size()));
    }
    return writes;
}

// The value the last of the writes gave this name, if any gave it one.
const std::string* written_value(const Name& name, const std::vector<Write>& writes) {
    const std::string* value = nullptr;
    for (const Write& w : writes) {
        if (may_be_same(name, w.name)) value = &w.value;
    }
    return value;
}

// Applies the writes one by one, or as one batch into the first write's section, and checks
// that each reads back and nothing else changed, or that a refusal changed nothing at all.
void check_writes(settings::ProfileStore& store, std::vector<Write> writes, bool batch,
                  std::vector<Name>& names) {
    const auto& file = store.path();
    const std::string file_before = fuzz::read_file(file);
    const std::vector<std::string> before = read_all(store, names);
    bool written = true;
    if (batch) {
        std::vector<settings::ProfileStore::Change> changes;
        for (Write& w : writes) {
            w.name.first = writes.front().name.first;
            changes.push_back({w.name.second, w.value});
        }
        written = store.write(writes.front().name.first, changes);
    } else {
        for (const Write& w : writes) written &= store.write(w.name.first, w.name.second, w.value);
    }
    const std::vector<std::string> after = read_all(store, names);
    if (!written) {
        FUZZ_CHECK(fuzz::read_file(file) == file_before);
        FUZZ_CHECK(after == before);
        return;
    }
    for (const Write& w : writes) {
        const std::string& want = *written_value(w.name, writes);
        FUZZ_CHECK(store.read(w.name.first, w.name.second, kMissing, 1 << 20) == want);
        FUZZ_CHECK(store.read(w.name.first, w.name.second, kMissing, 20) == want.substr(0, 19));
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (!written_value(names[i], writes)) FUZZ_CHECK(after[i] == before[i]);
    }
    // The file says the same as the store's copy.
    for (const Write& w : writes) names.push_back(w.name);
    const settings::ProfileStore reread(file);
    FUZZ_CHECK(read_all(reread, names) == read_all(store, names));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = std::min(input.find('\0'), input.size());
    const std::string_view text = input.substr(0, split);
    const std::string_view ops = input.substr(std::min(split + 1, input.size()));

    const auto file = fuzz::scratch_dir() / "vasul.ini";
    fuzz::write_file(file, text);
    settings::ProfileStore store(file);
    std::vector<Name> names = probe_names(text);
    const std::vector<Write> writes = parse_writes(ops, names);
    if (writes.empty()) return 0;
    // A first section choice with bit 6 set writes everything as one batch, as the score table
    // is saved; otherwise the keys are written one at a time, as the options are.
    if (static_cast<unsigned char>(ops[0]) & 0x40) {
        check_writes(store, writes, true, names);
    } else {
        for (const Write& w : writes) check_writes(store, {w}, false, names);
    }
    // Looking at an unchanged file again changes nothing.
    const std::vector<std::string> settled = read_all(store, names);
    store.poll();
    FUZZ_CHECK(read_all(store, names) == settled);
    return 0;
}
