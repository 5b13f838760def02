#pragma once
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Key names crafted against an index that hashes "section\nkey" with plain FNV-1a and keeps
// the low bits: what a file made to stall the game's settings load would hold.
namespace fixture {

inline constexpr uint64_t kFnvStart = 14695981039346656037ull;

inline uint64_t fnv1a(uint64_t h, std::string_view s) {
    for (const char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

// 2^stages distinct lower-case names whose hashes, with the section in front, agree in their
// low `bits` bits. The low bits of FNV-1a depend only on the low bits of its state, so each
// stage finds two three-letter blocks that lead to the same low bits, and every choice of
// one block per stage ends in the same slot.
inline std::vector<std::string> colliding_keys(std::string_view section, int stages,
                                               int bits = 20) {
    constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    const uint64_t mask = (uint64_t{1} << bits) - 1;
    uint64_t state = fnv1a(fnv1a(kFnvStart, section), "\n");
    std::vector<std::array<std::string, 2>> pairs;
    for (int s = 0; s < stages; ++s) {
        std::unordered_map<uint64_t, std::string> seen;
        for (size_t i = 0; pairs.size() == static_cast<size_t>(s); ++i) {
            const std::string block{kLetters[i % 36], kLetters[i / 36 % 36], kLetters[i / 1296]};
            const uint64_t h = fnv1a(state, block);
            const auto [it, fresh] = seen.emplace(h & mask, block);
            if (fresh) continue;
            pairs.push_back({it->second, block});
            state = h;
        }
    }
    std::vector<std::string> keys(size_t{1} << stages);
    for (size_t k = 0; k < keys.size(); ++k) {
        for (size_t s = 0; s < pairs.size(); ++s) keys[k] += pairs[s][(k >> s) & 1];
    }
    return keys;
}

// As many random lower-case names of the same length, for a baseline.
inline std::vector<std::string> ordinary_keys(size_t count, size_t length, uint32_t seed = 1) {
    std::mt19937 random(seed);
    std::vector<std::string> keys(count, std::string(length, 'a'));
    for (auto& k : keys) {
        for (char& c : k) c = static_cast<char>('a' + random() % 26);
    }
    return keys;
}

// A settings file holding every key in one section, each with its index as value.
inline std::string ini_with_keys(std::string_view section, const std::vector<std::string>& keys) {
    std::string text = "[" + std::string(section) + "]\n";
    for (size_t i = 0; i < keys.size(); ++i) text += keys[i] + "=" + std::to_string(i) + "\n";
    return text;
}

}  // namespace fixture
