#include "assetgen/photo_import.h"

#include <string>

#include "pictures/decode.h"
#include "pictures/fit.h"

namespace assetgen {

platform::Result<Image> import_picture(const std::filesystem::path& file) {
    // The game's own way in: the same formats, limits, orientation and fit as a stage picture.
    const auto because = [&](const platform::Error& e) {
        return platform::fail(e.kind, "cannot read the picture " + file.string() + ": " + e.reason);
    };
    const auto bytes = pictures::read_picture_file(file);
    if (!bytes) return because(bytes.error());
    const auto picture = pictures::decode_picture(*bytes);
    if (!picture) return because(picture.error());
    return from_surface(pictures::fit_picture(*picture));
}

}  // namespace assetgen
