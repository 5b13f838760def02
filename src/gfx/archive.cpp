#include "gfx/archive.h"

#include "platform/data_file.h"

namespace gfx {

namespace {

// The bytes with the first two replaced by the BMP signature; empty when there are fewer than
// two.
std::vector<uint8_t> as_bmp(platform::FileBytes read) {
    if (!read || read.bytes.size() < 2) return {};
    read.bytes[0] = 'B';
    read.bytes[1] = 'M';
    return std::move(read.bytes);
}

}  // namespace

std::vector<uint8_t> extract_range(const std::filesystem::path& archive, uint32_t first,
                                   uint32_t end) {
    if (end <= first) return {};
    return as_bmp(platform::read_data_range(archive, first, end - first));
}

std::vector<uint8_t> extract_slice(const std::filesystem::path& archive, int n, int k) {
    if (k <= 0 || n < 0 || n >= k) return {};
    platform::DataFile file(archive);
    const uint64_t slice = file.size() / static_cast<uint64_t>(k);
    platform::FileBytes read = file.read(static_cast<uint64_t>(n) * slice, slice);
    if (read && read.bytes.size() != slice) return {};  // the archive shrank since it opened
    return as_bmp(std::move(read));
}

std::string check_archives(const std::filesystem::path& data_dir) {
    const std::filesystem::path folder = data_dir / "image";
    auto describe = [&](const char* name, const char* what) {
        return std::string(name) + " " + what + " (looked for in " +
               std::filesystem::absolute(folder).lexically_normal().string() + ")";
    };
    const auto length = [&](const char* name, uint64_t& size) {
        platform::DataFile file(data_dir / name);
        size = file.size();
        return file.is_open() ? std::string() : describe(name, file.reason().c_str());
    };
    uint64_t pictures = 0;
    uint64_t sheets = 0;
    if (auto problem = length(kPictureArchive, pictures); !problem.empty()) return problem;
    if (pictures < kPictureCount * 54u) return describe(kPictureArchive, "is too short");
    if (auto problem = length(kSheetArchive, sheets); !problem.empty()) return problem;
    if (sheets < kPieceTable.back().end) return describe(kSheetArchive, "is too short");
    return {};
}

}  // namespace gfx
