#include "gfx/archive.h"

#include <fstream>
#include <system_error>

namespace gfx {

namespace {

std::vector<uint8_t> read_at(const std::filesystem::path& path, uint64_t first, uint64_t count) {
    std::ifstream in(path, std::ios::binary);
    if (!in || count < 2) return {};
    std::vector<uint8_t> bytes(count);
    in.seekg(static_cast<std::streamoff>(first));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    if (static_cast<uint64_t>(in.gcount()) != count) return {};
    bytes[0] = 'B';
    bytes[1] = 'M';
    return bytes;
}

}  // namespace

std::vector<uint8_t> extract_range(const std::filesystem::path& archive, uint32_t first,
                                   uint32_t end) {
    if (end <= first) return {};
    return read_at(archive, first, end - first);
}

std::vector<uint8_t> extract_slice(const std::filesystem::path& archive, int n, int k) {
    if (k <= 0 || n < 0 || n >= k) return {};
    std::error_code ec;
    const uint64_t length = std::filesystem::file_size(archive, ec);
    if (ec) return {};
    const uint64_t slice = length / static_cast<uint64_t>(k);
    return read_at(archive, static_cast<uint64_t>(n) * slice, slice);
}

std::string check_archives(const std::filesystem::path& data_dir) {
    const std::filesystem::path folder = data_dir / "image";
    auto describe = [&](const char* name, const char* what) {
        return std::string(name) + " " + what + " (looked for in " +
               std::filesystem::absolute(folder).lexically_normal().string() + ")";
    };
    std::error_code ec;
    const auto pictures = std::filesystem::file_size(data_dir / kPictureArchive, ec);
    if (ec) return describe(kPictureArchive, "is missing");
    if (pictures < kPictureCount * 54u) return describe(kPictureArchive, "is too short");
    const auto sheets = std::filesystem::file_size(data_dir / kSheetArchive, ec);
    if (ec) return describe(kSheetArchive, "is missing");
    if (sheets < kPieceTable.back().end) return describe(kSheetArchive, "is too short");
    return {};
}

}  // namespace gfx
