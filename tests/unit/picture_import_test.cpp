// The player's own pictures: real files of every format decoded upright and fitted to the
// screen, broken and oversized files refused with their reason, the EXIF orientation reader on
// malformed blocks, and the fit's crop and resampling.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "pictures/decode.h"
#include "pictures/exif.h"
#include "pictures/fit.h"
#include "support/results.h"

// Named, so that no helper here meets another test's in a unity build.
namespace picture_import_test {

using Bytes = std::vector<uint8_t>;
using platform::ErrorKind;

// Made by tests/data/pictures/make_pictures.py: 64 x 48, mid grey with a 16 x 16 square in each
// corner, red top left, green top right, blue bottom left, yellow bottom right.
const std::filesystem::path kPictures =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "pictures";

Bytes fixture(const std::string& name) {
    std::ifstream in(kPictures / name, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes.empty()) << (kPictures / name).string() << " is missing";
    return bytes;
}

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr uint32_t kGrey = 0x808080, kWhite = 0xFFFFFF, kBlack = 0;
constexpr uint32_t grey(uint32_t v) {
    return v * 0x010101u;
}

std::string hex(uint32_t pixel) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", pixel);
    return text;
}

::testing::AssertionResult near(uint32_t pixel, uint32_t want, int tolerance) {
    for (int shift : {16, 8, 0}) {
        const int got = static_cast<int>(pixel >> shift & 0xFF);
        const int expected = static_cast<int>(want >> shift & 0xFF);
        if (std::abs(got - expected) > tolerance || (pixel >> 24) != 0)
            return ::testing::AssertionFailure()
                   << "pixel " << hex(pixel) << ", expected " << hex(want);
    }
    return ::testing::AssertionSuccess();
}

struct Point {
    int x, y;
};
// Inside the four corner squares and the middle of the 64 x 48 pattern.
constexpr std::array<Point, 5> kSpots = {{{4, 4}, {59, 4}, {4, 43}, {59, 43}, {32, 24}}};
constexpr std::array<uint32_t, 5> kPattern = {kRed, kGreen, kBlue, kYellow, kGrey};

struct FileCase {
    const char* file;
    int tolerance = 0;  // lossless formats give the colours exactly
    std::array<uint32_t, 5> colours = kPattern;
};

TEST(PictureImport, RealFilesDecodeUprightAndFillTheScreen) {
    const FileCase cases[] = {
        {"corners.png"},
        {"interlaced.png"},
        {"palette.png"},
        {"deep.png"},  // 16 bits a channel
        // Over white: the transparent background, and a half-transparent black square.
        {"alpha.png", 1, {kRed, kGreen, kBlue, kYellow, kGrey}},
        {"grey_alpha.png", 0, {kBlack, kWhite, kWhite, kWhite, kWhite}},
        {"baseline.jpg", 8},
        {"progressive.jpg", 8},
        {"grey.jpg", 8, {grey(54), grey(182), grey(18), grey(237), grey(128)}},
        {"two_frames.gif"},  // the second frame is all blue
        {"corners.bmp"},
        // Stored as a camera held at each orientation would store it; shown upright.
        {"orientation_1.jpg", 8},
        {"orientation_2.jpg", 8},
        {"orientation_3.jpg", 8},
        {"orientation_4.jpg", 8},
        {"orientation_5.jpg", 8},
        {"orientation_6.jpg", 8},
        {"orientation_7.jpg", 8},
        {"orientation_8.jpg", 8},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.file);
        const auto picture = pictures::decode_picture(fixture(c.file));
        ASSERT_TRUE(picture) << why_not(picture);
        ASSERT_EQ(picture->width(), 64);
        ASSERT_EQ(picture->height(), 48);
        // 64 x 48 is already 4:3: the screen shows all of it, ten times larger.
        const gfx::Surface screen = pictures::fit_picture(*picture);
        ASSERT_EQ(screen.width(), 640);
        ASSERT_EQ(screen.height(), 480);
        for (size_t i = 0; i < kSpots.size(); ++i) {
            const auto [x, y] = kSpots[i];
            EXPECT_TRUE(near(picture->pixel(x, y), c.colours[i], c.tolerance)) << x << "," << y;
            EXPECT_TRUE(near(screen.pixel(x * 10 + 5, y * 10 + 5), c.colours[i], c.tolerance + 2))
                << "on the screen at " << x * 10 + 5 << "," << y * 10 + 5;
        }
    }
    const auto alpha = pictures::decode_picture(fixture("alpha.png"));
    ASSERT_TRUE(alpha);
    EXPECT_TRUE(near(alpha->pixel(32, 4), kWhite, 0)) << "fully transparent, black underneath";
}

// A file with its header's width and height replaced, big-endian or little-endian.
Bytes with_size(Bytes bytes, size_t at, uint32_t w, uint32_t h, int field_bytes, bool big,
                bool height_first = false) {
    auto put = [&](size_t pos, uint32_t v) {
        for (int i = 0; i < field_bytes; ++i) {
            const int shift = 8 * (big ? field_bytes - 1 - i : i);
            bytes.at(pos + i) = static_cast<uint8_t>(v >> shift);
        }
    };
    put(at, height_first ? h : w);
    put(at + field_bytes, height_first ? w : h);
    return bytes;
}

// Where a JPEG's frame header keeps its height (then its width).
size_t jpeg_frame_size_at(const Bytes& jpeg) {
    for (size_t i = 2; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) return i + 5;
    ADD_FAILURE() << "no frame header";
    return 0;
}

// The JPEG with its scans (headers and coded data) repeated.
Bytes with_scans(const Bytes& jpeg, size_t scans) {
    size_t start = 0;
    for (size_t i = 2; i + 1 < jpeg.size() && !start; ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) start = i;
    const size_t end = jpeg.size() - 2;  // the end-of-image marker
    Bytes out(jpeg.begin(), jpeg.begin() + static_cast<ptrdiff_t>(start));
    for (size_t i = 0; i < scans; ++i)
        out.insert(out.end(), jpeg.begin() + static_cast<ptrdiff_t>(start),
                   jpeg.begin() + static_cast<ptrdiff_t>(end));
    out.insert(out.end(), jpeg.end() - 2, jpeg.end());
    return out;
}

// A Huffman table claiming 512 codes (at most 256 fit), put before the frame header, where the
// decoder meets it while it looks for the picture's size.
Bytes with_oversized_huffman_table(Bytes jpeg) {
    Bytes table = {0xFF, 0xC4, 0x00, 19, 0x00};
    table.insert(table.end(), 16, 0x20);
    jpeg.insert(jpeg.begin() + 2, table.begin(), table.end());
    return jpeg;
}

Bytes cut(Bytes bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
}

TEST(PictureImport, BadAndOversizedFilesAreRefusedWithTheirReason) {
    const Bytes png = fixture("corners.png"), jpeg = fixture("baseline.jpg");
    const Bytes progressive = fixture("progressive.jpg");  // 10 scans
    const Bytes gif = fixture("two_frames.gif"), bmp = fixture("corners.bmp");
    Bytes huge = png;
    huge.resize((65u << 20), 0);
    const std::string text = "not a picture";
    // A PPM: a format stb could read, left out of the game's build.
    Bytes ppm = {'P', '6', ' ', '1', ' ', '1', ' ', '2', '5', '5', '\n', 1, 2, 3};
    struct Case {
        const char* name;
        Bytes bytes;
        ErrorKind kind;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", {}, ErrorKind::Invalid, "is empty"},
        {"text", Bytes(text.begin(), text.end()), ErrorKind::Invalid,
         "is not a PNG, JPEG, GIF or BMP picture"},
        {"PPM", ppm, ErrorKind::Invalid, "is not a PNG, JPEG, GIF or BMP picture"},
        {"PNG cut in half", cut(png, png.size() / 2), ErrorKind::Invalid, "cannot be decoded: "},
        {"GIF cut after its header", cut(gif, 20), ErrorKind::Invalid, "cannot be decoded: "},
        {"JPEG cut short", cut(jpeg, jpeg.size() - 60), ErrorKind::Invalid, "cannot be decoded: "},
        {"PNG inflating far past its size", fixture("inflating.png"), ErrorKind::Invalid,
         "cannot be decoded: it holds more data than its size"},
        {"65 MiB", huge, ErrorKind::TooLarge, "is larger than 64 MiB"},
        // The real files with only their headers changed: refused before any decoding, which
        // would otherwise allocate hundreds of megabytes (stb itself refuses no PNG this size).
        {"PNG of 100000 x 100000", with_size(png, 16, 100000, 100000, 4, true), ErrorKind::TooLarge,
         "is 100000 x 100000 pixels, more than 40 megapixels"},
        {"PNG of 8000 x 6000", with_size(png, 16, 8000, 6000, 4, true), ErrorKind::TooLarge,
         "is 8000 x 6000 pixels, more than 40 megapixels"},
        {"JPEG of 8000 x 6000",
         with_size(jpeg, jpeg_frame_size_at(jpeg), 8000, 6000, 2, true, true), ErrorKind::TooLarge,
         "is 8000 x 6000 pixels, more than 40 megapixels"},
        {"GIF of 8000 x 6000", with_size(gif, 6, 8000, 6000, 2, false), ErrorKind::TooLarge,
         "is 8000 x 6000 pixels, more than 40 megapixels"},
        {"BMP of 8000 x 6000", with_size(bmp, 18, 8000, 6000, 4, false), ErrorKind::TooLarge,
         "is 8000 x 6000 pixels, more than 40 megapixels"},
        {"JPEG with a Huffman table of 512 codes", with_oversized_huffman_table(jpeg),
         ErrorKind::Invalid, "cannot be decoded: a Huffman table holds more than 256 codes"},
        {"sequential JPEG of 5 scans", with_scans(jpeg, 5), ErrorKind::Invalid,
         "has 5 scans, more than 4"},
        {"progressive JPEG of 110 scans", with_scans(progressive, 11), ErrorKind::Invalid,
         "has 110 scans, more than 100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto picture = pictures::decode_picture(c.bytes);
        ASSERT_FALSE(picture);
        EXPECT_EQ(picture.error().kind, c.kind) << picture.error().reason;
        EXPECT_EQ(picture.error().reason.rfind(c.reason, 0), 0u) << picture.error().reason;
    }
    // Four scans are still a sequential picture, a hundred a progressive one.
    EXPECT_TRUE(pictures::decode_picture(with_scans(jpeg, 4)));
    EXPECT_TRUE(pictures::decode_picture(with_scans(progressive, 10)));
    // A BMP cut short keeps its size: the rows that are missing (the top ones, stored last)
    // come out black.
    const auto half = pictures::decode_picture(cut(bmp, bmp.size() / 2));
    ASSERT_TRUE(half) << why_not(half);
    EXPECT_EQ(half->width(), 64);
    EXPECT_TRUE(near(half->pixel(4, 43), kBlue, 0));
    EXPECT_TRUE(near(half->pixel(4, 4), kBlack, 0));
}

// The reader of the EXIF orientation, on JPEG files made of the segments given.
Bytes jpeg_of(std::initializer_list<Bytes> segments) {
    Bytes out = {0xFF, 0xD8};
    for (const Bytes& s : segments) out.insert(out.end(), s.begin(), s.end());
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

Bytes segment(uint8_t marker, const Bytes& payload) {
    const size_t length = payload.size() + 2;
    Bytes out = {0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

struct Tag {
    uint16_t tag = 0x0112, type = 3;
    uint32_t count = 1;
    uint16_t value = 6;
};

// An EXIF block whose first directory holds the tags; its offset and entry count can lie.
Bytes exif(bool little, std::vector<Tag> tags, uint32_t directory = 8, int count = -1) {
    Bytes t;
    auto u16 = [&](uint32_t v) {
        const uint8_t a = static_cast<uint8_t>(v), b = static_cast<uint8_t>(v >> 8);
        little ? t.insert(t.end(), {a, b}) : t.insert(t.end(), {b, a});
    };
    auto u32 = [&](uint32_t v) { little ? (u16(v), u16(v >> 16)) : (u16(v >> 16), u16(v)); };
    t = little ? Bytes{'I', 'I'} : Bytes{'M', 'M'};
    u16(42);
    u32(directory);
    u16(count < 0 ? static_cast<uint32_t>(tags.size()) : static_cast<uint32_t>(count));
    for (const Tag& e : tags) {
        u16(e.tag);
        u16(e.type);
        u32(e.count);
        u16(e.value);
        u16(0);
    }
    Bytes payload = {'E', 'x', 'i', 'f', 0, 0};
    payload.insert(payload.end(), t.begin(), t.end());
    return segment(0xE1, payload);
}

TEST(PictureImport, OrientationIsReadOnlyFromAWellFormedExifBlock) {
    const Bytes jfif = segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 0, 0});
    const Bytes xmp = segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0});
    const Bytes scan = segment(0xDA, {1, 1, 0, 0, 63, 0});
    const Bytes resolution_unit = exif(true, {{0x0128, 3, 1, 2}});
    Bytes cut_short = exif(true, {{}});
    cut_short.resize(cut_short.size() - 4);  // the value is past the segment's end
    cut_short[3] = static_cast<uint8_t>(cut_short.size() - 2);
    Bytes past_end = jpeg_of({exif(true, {{}})});
    past_end.resize(20);  // the segment's length reaches past the file
    struct Case {
        const char* name;
        Bytes file;
        int orientation;
    };
    const Case cases[] = {
        {"Intel order", jpeg_of({jfif, exif(true, {{}})}), 6},
        {"Motorola order", jpeg_of({exif(false, {{0x0112, 3, 1, 8}})}), 8},
        {"after another tag", jpeg_of({exif(true, {{0x0128, 3, 1, 2}, {0x0112, 3, 1, 3}})}), 3},
        {"XMP first", jpeg_of({xmp, exif(false, {{0x0112, 3, 1, 5}})}), 5},
        {"no EXIF", jpeg_of({jfif}), 1},
        {"no orientation tag", jpeg_of({resolution_unit}), 1},
        {"value 0", jpeg_of({exif(true, {{0x0112, 3, 1, 0}})}), 1},
        {"value 9", jpeg_of({exif(true, {{0x0112, 3, 1, 9}})}), 1},
        {"a LONG, not a SHORT", jpeg_of({exif(true, {{0x0112, 4, 1, 6}})}), 1},
        {"no values", jpeg_of({exif(true, {{0x0112, 3, 0, 6}})}), 1},
        {"directory past the end", jpeg_of({exif(true, {{}}, 4000)}), 1},
        {"directory offset wraps", jpeg_of({exif(true, {{}}, 0xFFFFFFFF)}), 1},
        {"more entries counted than held", jpeg_of({exif(true, {{0x0128, 3, 1, 2}}, 8, 0xFFFF)}),
         1},
        {"entry cut short", jpeg_of({cut_short}), 1},
        {"segment longer than the file", past_end, 1},
        {"EXIF after the first scan", jpeg_of({scan, exif(true, {{}})}), 1},
        {"not a JPEG", Bytes{0x89, 'P', 'N', 'G'}, 1},
        {"empty", Bytes{}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pictures::exif_orientation(c.file), c.orientation);
    }
}

gfx::Surface painted(int w, int h, const std::function<uint32_t(int, int)>& colour) {
    gfx::Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.set_pixel(x, y, colour(x, y));
    return s;
}

TEST(PictureFit, KeepsTheLargestMiddleAreaOfTheScreensShape) {
    // A wide picture loses its sides, a tall one its top and bottom; what stays is all green.
    const gfx::Surface wide = painted(1600, 600, [](int x, int) {
        return x < 400 ? kRed : x < 1200 ? kGreen : kBlue;
    });
    const gfx::Surface tall = painted(600, 1600, [](int, int y) {
        return y < 575 ? kRed : y < 1025 ? kGreen : kBlue;
    });
    for (const gfx::Surface* picture : {&wide, &tall}) {
        SCOPED_TRACE(picture->width());
        const gfx::Surface screen = pictures::fit_picture(*picture);
        ASSERT_EQ(screen.width(), 640);
        ASSERT_EQ(screen.height(), 480);
        for (int y : {0, 1, 240, 478, 479})
            for (int x = 0; x < 640; ++x)
                ASSERT_TRUE(near(screen.pixel(x, y), kGreen, 2)) << x << "," << y;
        for (int x : {0, 639})
            for (int y = 0; y < 480; ++y)
                ASSERT_TRUE(near(screen.pixel(x, y), kGreen, 2)) << x << "," << y;
    }
}

TEST(PictureFit, EnlargesSmoothlyAndAveragesInLinearLight) {
    // A black-and-white edge at 320 x 240 doubled: a soft ramp over a few pixels, not one step.
    const gfx::Surface edge =
        painted(320, 240, [](int x, int) { return x < 160 ? kBlack : kWhite; });
    const gfx::Surface screen = pictures::fit_picture(edge);
    int between = 0;
    for (int x = 0; x < 640; ++x) {
        const uint32_t v = screen.pixel(x, 240) & 0xFF;
        if (x > 0) {
            ASSERT_GE(v, screen.pixel(x - 1, 240) & 0xFF) << x;
        }
        if (v > 0 && v < 255) {
            ++between;
            EXPECT_NEAR(x, 320, 6);
        }
    }
    EXPECT_GE(between, 2);
    // Stripes of black and white one pixel wide halved: half the light, which sRGB writes as
    // 188; averaging the stored values would give 128.
    const gfx::Surface stripes =
        painted(1280, 960, [](int x, int) { return x % 2 ? kWhite : kBlack; });
    EXPECT_TRUE(near(pictures::fit_picture(stripes).pixel(320, 240), grey(188), 3));
    // Nothing to fit: a white screen.
    EXPECT_TRUE(near(pictures::fit_picture(gfx::Surface()).pixel(0, 0), kWhite, 0));
}

}  // namespace picture_import_test
