#include "assetgen/photo_import.h"

#include <string>
#include <string_view>
#include <vector>

#include "assetgen/stb_io.h"

namespace assetgen {

namespace {

// What kept stb from reading the file, told from what the file is and stb's reason.
platform::ErrorKind unreadable(const std::filesystem::path& file, std::string_view reason) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (status.type() == std::filesystem::file_type::not_found) return platform::ErrorKind::Missing;
    if (ec) return platform::ErrorKind::Failed;
    if (!std::filesystem::is_regular_file(status)) return platform::ErrorKind::NotAFile;
    // stb's words for a file that would not open (no permission, say).
    if (reason == "can't fopen") return platform::ErrorKind::Failed;
    return platform::ErrorKind::Invalid;
}

}  // namespace

platform::Result<Image> import_picture(const std::filesystem::path& file) {
    int w = 0, h = 0;
    unsigned char* rgb = assetgen_load_rgb(file.string().c_str(), &w, &h);
    if (!rgb) {
        const std::string reason = assetgen_image_error();
        return platform::fail(unreadable(file, reason),
                              "cannot read the picture " + file.string() + ": " + reason);
    }
    // Crop to 4:3 around the middle, then scale to the screen.
    int cw = w, ch = h;
    if (static_cast<long>(w) * 3 > static_cast<long>(h) * 4) {
        cw = h * 4 / 3;
    } else {
        ch = w * 3 / 4;
    }
    cw = std::max(cw, 1);
    ch = std::max(ch, 1);
    const int x0 = (w - cw) / 2, y0 = (h - ch) / 2;
    std::vector<unsigned char> out(640 * 480 * 3);
    const unsigned char* start = rgb + (static_cast<size_t>(y0) * w + x0) * 3;
    const int ok = assetgen_resize_rgb(start, cw, ch, w * 3, out.data(), 640, 480);
    assetgen_free_image(rgb);
    if (!ok)
        return platform::fail(platform::ErrorKind::Failed,
                              "cannot scale the picture " + file.string());
    Image img(640, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const unsigned char* p = &out[(static_cast<size_t>(y) * 640 + x) * 3];
            img.at(x, y) = {static_cast<float>(p[0]) / 255.f, static_cast<float>(p[1]) / 255.f,
                            static_cast<float>(p[2]) / 255.f};
        }
    return img;
}

}  // namespace assetgen
