#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Helpers the fuzz harnesses share.
namespace fuzz {

// Reports a broken expectation and aborts, so the fuzzer keeps the input as a crash.
[[noreturn]] void fail(const char* file, int line, const char* what);

// A folder for this process's files, on a memory file system when the machine has one (the
// settings store syncs every write), removed when the process exits normally.
const std::filesystem::path& scratch_dir();

// Replaces a file with these bytes, creating its folder.
void write_file(const std::filesystem::path& file, std::span<const uint8_t> bytes);
void write_file(const std::filesystem::path& file, std::string_view text);
// The whole file, or an empty text when it is missing.
std::string read_file(const std::filesystem::path& file);

// The input as the game takes a piece out of an archive: its first two bytes become "BM".
std::vector<uint8_t> archive_piece(const uint8_t* data, size_t size);

}  // namespace fuzz

#define FUZZ_CHECK(cond) ((cond) ? void(0) : ::fuzz::fail(__FILE__, __LINE__, #cond))
