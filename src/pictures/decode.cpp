#include "pictures/decode.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "pictures/exif.h"
#include "pictures/jpeg_segments.h"
#include "pictures/stb_codec.h"
#include "platform/data_file.h"

namespace pictures {

namespace {

using platform::ErrorKind;

// What stb may hold at once while decoding a picture of w x h pixels. Data that would unpack to
// more than the header's size needs is broken: six times the decoded picture covers every form
// (an interlaced 16-bit RGBA PNG holds its inflated rows, the whole picture and one pass at
// 8 bytes a pixel; a progressive JPEG its coefficients, planes and output), plus the filter
// byte of each row, the compressed data twice (its buffer grows by doubling) and tables.
uint64_t unpacking_budget(uint64_t w, uint64_t h, size_t file_bytes) {
    return 24 * w * h + 2 * h + 2 * uint64_t{file_bytes} + (1u << 20);
}

// And whatever the form, no more than twice the largest decoded picture: the forms that need
// more (16-bit PNG, a progressive JPEG at full colour resolution, GIF) are refused a little
// below the pixel cap. Baseline JPEG, 8-bit PNG and BMP stay within it up to the cap.
uint64_t memory_ceiling(const PictureLimits& limits) {
    return 2 * limits.max_pixels * 4;
}

// "64 MiB" for a whole number of MiB or anything over 10, else the bytes.
std::string size_in_words(uint64_t bytes) {
    constexpr uint64_t kMiB = 1u << 20;
    if (bytes % kMiB == 0 || bytes > 10 * kMiB) return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

std::string pixels_in_words(uint64_t pixels) {
    constexpr uint64_t kMega = 1'000'000;
    if (pixels % kMega == 0) return std::to_string(pixels / kMega) + " megapixels";
    return std::to_string(pixels) + " pixels";
}

platform::Error too_many_pixels(uint64_t w, uint64_t h, uint64_t limit) {
    return platform::fail(ErrorKind::TooLarge, "is " + std::to_string(w) + " x " +
                                                   std::to_string(h) + " pixels, more than " +
                                                   pixels_in_words(limit));
}

// The size in a PNG's header, which comes first at fixed places: stb does not even report the
// header of a PNG over a gigabyte of pixels, and the reason should still say how large it is.
std::optional<std::pair<uint64_t, uint64_t>> png_size(std::span<const uint8_t> bytes) {
    static constexpr uint8_t kStart[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                         0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    if (bytes.size() < sizeof kStart + 8 ||
        !std::equal(std::begin(kStart), std::end(kStart), bytes.begin()))
        return std::nullopt;
    auto u32 = [&](size_t at) {
        return uint64_t{bytes[at]} << 24 | uint64_t{bytes[at + 1]} << 16 |
               uint64_t{bytes[at + 2]} << 8 | bytes[at + 3];
    };
    return std::pair{u32(sizeof kStart), u32(sizeof kStart + 4)};
}

platform::Error too_large_file(uint64_t limit) {
    return platform::fail(ErrorKind::TooLarge, "is larger than " + size_in_words(limit));
}

struct FreePixels {
    void operator()(unsigned char* p) const { vasul_picture_free(p); }
};
using Pixels = std::unique_ptr<unsigned char, FreePixels>;

uint32_t over_backdrop(uint32_t colour, uint32_t alpha, uint32_t backdrop) {
    return (colour * alpha + backdrop * (255 - alpha) + 127) / 255;
}

// One pixel of the decoder's output as XRGB.
template <int Channels>
uint32_t xrgb(const unsigned char* p) {
    constexpr uint32_t kR = kBackdrop >> 16 & 0xFF, kG = kBackdrop >> 8 & 0xFF,
                       kB = kBackdrop & 0xFF;
    if constexpr (Channels == 1) {
        return p[0] * 0x010101u;
    } else if constexpr (Channels == 2) {
        return over_backdrop(p[0], p[1], kR) << 16 | over_backdrop(p[0], p[1], kG) << 8 |
               over_backdrop(p[0], p[1], kB);
    } else if constexpr (Channels == 3) {
        return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    } else {
        return over_backdrop(p[0], p[3], kR) << 16 | over_backdrop(p[1], p[3], kG) << 8 |
               over_backdrop(p[2], p[3], kB);
    }
}

// Where the stored pixel (x, y) goes in the upright picture: origin + x * step_x + y * step_y.
struct Placement {
    int width = 0, height = 0;  // of the upright picture
    ptrdiff_t origin = 0, step_x = 0, step_y = 0;
};

Placement placement(int orientation, int w, int h) {
    const bool sideways = orientation >= kTransposed;
    const ptrdiff_t out_w = sideways ? h : w;
    const ptrdiff_t right = w - 1, bottom = h - 1;
    Placement p{static_cast<int>(out_w), sideways ? w : h, 0, 0, 0};
    switch (orientation) {
        case kMirrored:
            p = {p.width, p.height, right, -1, out_w};
            break;
        case kUpsideDown:
            p = {p.width, p.height, bottom * out_w + right, -1, -out_w};
            break;
        case kMirroredUpsideDown:
            p = {p.width, p.height, bottom * out_w, 1, -out_w};
            break;
        case kTransposed:
            p = {p.width, p.height, 0, out_w, 1};
            break;
        case kTurnedLeft:
            p = {p.width, p.height, bottom, out_w, -1};
            break;
        case kTransverse:
            p = {p.width, p.height, right * out_w + bottom, -out_w, -1};
            break;
        case kTurnedRight:
            p = {p.width, p.height, right * out_w, -out_w, 1};
            break;
        default:
            p = {p.width, p.height, 0, 1, out_w};
            break;
    }
    return p;
}

// Writes the decoder's w x h pixels into the upright picture, in tiles, so that a quarter turn
// of a large photo does not miss the cache on every pixel.
template <int Channels>
void place_pixels(const unsigned char* in, int w, int h, const Placement& p, uint32_t* out) {
    constexpr int kTile = 64;
    for (int ty = 0; ty < h; ty += kTile) {
        const int y_end = std::min(h, ty + kTile);
        for (int tx = 0; tx < w; tx += kTile) {
            const int x_end = std::min(w, tx + kTile);
            for (int y = ty; y < y_end; ++y) {
                const unsigned char* src = in + (static_cast<size_t>(y) * w + tx) * Channels;
                uint32_t* dst = out + p.origin + tx * p.step_x + y * p.step_y;
                for (int x = tx; x < x_end; ++x, src += Channels, dst += p.step_x)
                    *dst = xrgb<Channels>(src);
            }
        }
    }
}

}  // namespace

platform::Result<PictureSize> check_picture(std::span<const uint8_t> bytes,
                                            const PictureLimits& limits) {
    if (bytes.size() > limits.max_file_bytes) return too_large_file(limits.max_file_bytes);
    if (bytes.empty()) return platform::fail(ErrorKind::Invalid, "is empty");
    // Before stb reads even the header: it takes in the Huffman tables on the way to the size.
    const bool jpeg = is_jpeg(bytes);
    if (jpeg) {
        const JpegOutline outline = outline_jpeg(bytes);
        const size_t most_scans =
            outline.progressive ? kMaxProgressiveJpegScans : kMaxSequentialJpegScans;
        if (outline.scans > most_scans)
            return platform::fail(ErrorKind::Invalid, "has " + std::to_string(outline.scans) +
                                                          " scans, more than " +
                                                          std::to_string(most_scans));
        if (outline.oversized_huffman_table)
            return platform::fail(ErrorKind::Invalid,
                                  "cannot be decoded: a Huffman table holds more than 256 codes");
    }
    int w = 0, h = 0;
    if (!vasul_picture_info(bytes.data(), bytes.size(), &w, &h) || w <= 0 || h <= 0) {
        if (const auto png = png_size(bytes);
            png && png->first > 0 && png->second > limits.max_pixels / png->first)
            return too_many_pixels(png->first, png->second, limits.max_pixels);
        return platform::fail(ErrorKind::Invalid, "is not a PNG, JPEG, GIF or BMP picture");
    }
    const uint64_t pixels = static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
    if (pixels > limits.max_pixels) return too_many_pixels(w, h, limits.max_pixels);
    return PictureSize{w, h};
}

platform::Result<gfx::Surface> decode_picture(std::span<const uint8_t> bytes,
                                              const PictureLimits& limits) {
    const platform::Result<PictureSize> size = check_picture(bytes, limits);
    if (!size) return size.error();
    int w = size->width, h = size->height;
    const int orientation = is_jpeg(bytes) ? exif_orientation(bytes) : int{kUpright};
    const uint64_t unpacking = unpacking_budget(w, h, bytes.size());
    const uint64_t ceiling = memory_ceiling(limits) + 2 * uint64_t{bytes.size()} + (1u << 20);
    const size_t budget = static_cast<size_t>(
        std::min<uint64_t>({unpacking, ceiling, std::numeric_limits<size_t>::max()}));
    int channels = 0, over_budget = 0;
    Pixels decoded(
        vasul_picture_load(bytes.data(), bytes.size(), budget, &w, &h, &channels, &over_budget));
    if (!decoded) {
        const std::string reason = "cannot be decoded: ";
        const std::string why = vasul_picture_failure();
        if (over_budget && unpacking > ceiling)
            return platform::fail(ErrorKind::TooLarge, "needs more than " +
                                                           size_in_words(memory_ceiling(limits)) +
                                                           " of memory to decode");
        if (over_budget)
            return platform::fail(ErrorKind::Invalid, reason + "it holds more data than its size");
        if (why.empty()) return platform::fail(ErrorKind::Invalid, "cannot be decoded");
        if (why == "outofmem") return platform::fail(ErrorKind::Failed, reason + "out of memory");
        return platform::fail(ErrorKind::Invalid, reason + why);
    }
    // The header was read twice; the second reading decides.
    if (w <= 0 || h <= 0 ||
        static_cast<uint64_t>(w) * static_cast<uint64_t>(h) > limits.max_pixels || channels < 1 ||
        channels > 4)
        return platform::fail(ErrorKind::Invalid, "cannot be decoded: its header changed");

    const Placement p = placement(orientation, w, h);
    gfx::Surface picture;
    try {
        picture = gfx::Surface(p.width, p.height);
    } catch (const std::bad_alloc&) {
        return platform::fail(ErrorKind::Failed, "cannot be decoded: out of memory");
    }
    uint32_t* out = picture.pixels().data();
    switch (channels) {
        case 1:
            place_pixels<1>(decoded.get(), w, h, p, out);
            break;
        case 2:
            place_pixels<2>(decoded.get(), w, h, p, out);
            break;
        case 3:
            place_pixels<3>(decoded.get(), w, h, p, out);
            break;
        default:
            place_pixels<4>(decoded.get(), w, h, p, out);
            break;
    }
    return picture;
}

platform::Result<std::vector<uint8_t>> read_picture_file(const std::filesystem::path& file) {
    platform::FileBytes bytes = platform::read_data_file(file, kMaxPictureFileBytes);
    if (!bytes && bytes.error().kind == ErrorKind::TooLarge)
        return too_large_file(kMaxPictureFileBytes);
    return bytes;
}

}  // namespace pictures
