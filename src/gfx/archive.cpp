#include "gfx/archive.h"

#include "gfx/bmp.h"

namespace gfx {

// The longest headers (14 + 124 bytes) and the largest picture at 32 bits fit in a slice.
static_assert(kMaxSliceBytes >= 138 + kMaxPicturePixels * 4);

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

std::vector<uint8_t> extract_range(const platform::DataSource& data, std::string_view archive,
                                   uint32_t first, uint32_t end) {
    if (end <= first) return {};
    return as_bmp(data.read_range(archive, first, end - first));
}

std::vector<uint8_t> extract_slice(const platform::DataSource& data, std::string_view archive,
                                   int n, int k, bool* too_long) {
    if (too_long) *too_long = false;
    if (k <= 0 || n < 0 || n >= k) return {};
    const platform::FileLength length = data.size(archive);
    if (!length) return {};
    const uint64_t slice = length.size / static_cast<uint64_t>(k);
    if (slice > kMaxSliceBytes) {
        if (too_long) *too_long = true;
        return {};
    }
    // Short, and so empty, when the archive shrank since its length was taken.
    return as_bmp(data.read_range(archive, static_cast<uint64_t>(n) * slice, slice));
}

std::string check_archives(const platform::DataSource& data) {
    const auto describe = [&](const char* name, const std::string& what) {
        return std::string(name) + " " + what + " (looked for in " + data.shown_in_full("image") +
               ")";
    };
    const platform::FileLength pictures = data.size(kPictureArchive);
    if (!pictures) return describe(kPictureArchive, pictures.reason);
    if (pictures.size < kPictureCount * 54u) return describe(kPictureArchive, "is too short");
    const platform::FileLength sheets = data.size(kSheetArchive);
    if (!sheets) return describe(kSheetArchive, sheets.reason);
    if (sheets.size < kPieceTable.back().end) return describe(kSheetArchive, "is too short");
    return {};
}

}  // namespace gfx
