// A picture file from the player's folder: the caps and the header read before any decoding,
// the EXIF orientation, the decoding itself and the fit to the screen. Whatever the bytes, a
// picture comes out upright at the size its header gives (turned for orientations 5 to 8),
// within the caps, and fills the screen; or it is refused as too large or not a picture.
#include <cstdint>
#include <span>
#include <utility>

#include "fuzz/fuzz_support.h"
#include "pictures/decode.h"
#include "pictures/exif.h"
#include "pictures/fit.h"
#include "pictures/jpeg_segments.h"
#include "pictures/stb_codec.h"

namespace {

// The game's caps, but fewer pixels: a file of a few bytes may promise 40 megapixels, which
// take seconds to decode under the sanitizers, and the check is the same at any number.
constexpr uint64_t kFuzzPixels = 1u << 20;

bool xrgb_only(const gfx::Surface& s) {
    for (const uint32_t pixel : s.pixels())
        if (pixel >> 24) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const int orientation = pictures::exif_orientation(bytes);
    FUZZ_CHECK(orientation >= pictures::kUpright && orientation <= pictures::kTurnedRight);

    pictures::PictureLimits limits;
    limits.max_pixels = kFuzzPixels;
    const auto picture = pictures::decode_picture(bytes, limits);
    if (!picture) {
        const platform::ErrorKind kind = picture.error().kind;
        FUZZ_CHECK(kind == platform::ErrorKind::TooLarge || kind == platform::ErrorKind::Invalid);
        FUZZ_CHECK(!picture.error().reason.empty());
        return 0;
    }
    FUZZ_CHECK(!picture->empty());
    const uint64_t w = static_cast<uint64_t>(picture->width());
    const uint64_t h = static_cast<uint64_t>(picture->height());
    FUZZ_CHECK(w * h <= kFuzzPixels);
    FUZZ_CHECK(picture->pixels().size() == w * h);
    FUZZ_CHECK(xrgb_only(*picture));
    int stored_w = 0, stored_h = 0;
    FUZZ_CHECK(vasul_picture_info(data, size, &stored_w, &stored_h));
    if (pictures::is_jpeg(bytes) && orientation >= pictures::kTransposed)
        std::swap(stored_w, stored_h);
    FUZZ_CHECK(picture->width() == stored_w && picture->height() == stored_h);

    const gfx::Surface screen = pictures::fit_picture(*picture);
    FUZZ_CHECK(screen.width() == 640 && screen.height() == 480);
    FUZZ_CHECK(xrgb_only(screen));
    return 0;
}
