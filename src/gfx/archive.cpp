#include "gfx/archive.h"

#include "gfx/bmp.h"

namespace gfx {

// The longest headers (14 + 124 bytes) and the largest picture at 32 bits fit in a slice.
static_assert(kMaxSliceBytes >= 138 + kMaxPicturePixels * 4);

namespace {

// The bytes with the first two replaced by the BMP signature.
platform::FileBytes as_bmp(platform::FileBytes read) {
    if (!read) return read;
    if (read->size() < 2) return platform::Error{platform::ErrorKind::Short, "is too short"};
    (*read)[0] = 'B';
    (*read)[1] = 'M';
    return read;
}

}  // namespace

platform::FileBytes extract_range(const platform::DataSource& data, std::string_view archive,
                                  uint32_t first, uint32_t end) {
    if (end <= first) return platform::Error{platform::ErrorKind::Short, "is too short"};
    return as_bmp(data.read_range(archive, first, end - first));
}

platform::FileBytes extract_slice(const platform::DataSource& data, std::string_view archive, int n,
                                  int k) {
    if (k <= 0 || n < 0 || n >= k) {
        return platform::Error{platform::ErrorKind::Missing, "has no slice " + std::to_string(n)};
    }
    const platform::FileLength length = data.size(archive);
    if (!length) return length.error();
    const uint64_t slice = *length / static_cast<uint64_t>(k);
    if (slice > kMaxSliceBytes) {
        return platform::Error{platform::ErrorKind::TooLarge,
                               "is longer than any picture the game draws"};
    }
    // Short, and so empty, when the archive shrank since its length was taken.
    return as_bmp(data.read_range(archive, static_cast<uint64_t>(n) * slice, slice));
}

platform::Result<void> check_archives(const platform::DataSource& data) {
    const auto unusable = [&](const char* name, platform::ErrorKind kind, const std::string& what) {
        return platform::Error{kind, std::string(name) + " " + what + " (looked for in " +
                                         data.shown_in_full("image") + ")"};
    };
    const platform::FileLength pictures = data.size(kPictureArchive);
    if (!pictures) return unusable(kPictureArchive, pictures.error().kind, pictures.error().reason);
    if (*pictures < kPictureCount * 54u)
        return unusable(kPictureArchive, platform::ErrorKind::Short, "is too short");
    const platform::FileLength sheets = data.size(kSheetArchive);
    if (!sheets) return unusable(kSheetArchive, sheets.error().kind, sheets.error().reason);
    if (*sheets < kPieceTable.back().end)
        return unusable(kSheetArchive, platform::ErrorKind::Short, "is too short");
    return {};
}

}  // namespace gfx
