#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "gfx/archive.h"
#include "platform/data_source.h"

namespace fuzz {

namespace {

// Owns the scratch folder; its destructor runs when the fuzzer exits after its time is up.
struct Scratch {
    std::filesystem::path dir;
    Scratch() {
        std::error_code ec;
        const std::filesystem::path shm = "/dev/shm";
        const auto base =
            std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
        dir = base / ("vasul-fuzz-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir, ec);
        std::filesystem::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

}  // namespace

void fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: expectation failed: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

const std::filesystem::path& scratch_dir() {
    static const Scratch scratch;
    return scratch.dir;
}

void write_file(const std::filesystem::path& file, std::span<const uint8_t> bytes) {
    write_file(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void write_file(const std::filesystem::path& file, std::string_view text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string read_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> archive_piece(const uint8_t* data, size_t size) {
    platform::MemoryDataSource archive;
    archive.put("piece", std::vector<uint8_t>(data, data + size));
    platform::FileBytes piece =
        gfx::extract_range(archive, "piece", 0, static_cast<uint32_t>(size));
    return piece ? std::move(*piece) : std::vector<uint8_t>();
}

}  // namespace fuzz
