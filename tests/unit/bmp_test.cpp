#include "gfx/bmp.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdlib>
#include <string_view>

#include "support/results.h"

namespace {

// Two colours whose channels survive 5- and 6-bit masks exactly, with red unlike blue so that
// a swap of the two shows.
constexpr uint32_t C0 = 0x84FF21;
constexpr uint32_t C1 = 0x2100C6;
constexpr uint32_t kJunk = 0x123456;  // every palette entry the picture does not use

// A 5 x 3 picture, top row first, asymmetric both ways so that flips and shifts show.
constexpr int kW = 5, kH = 3;
constexpr int kPattern[kH][kW] = {{0, 1, 1, 0, 0}, {1, 0, 0, 0, 1}, {1, 1, 0, 1, 0}};

gfx::Surface reference() {
    gfx::Surface s(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) s.set_pixel(x, y, kPattern[y][x] ? C1 : C0);
    return s;
}

enum class Rle { kNone, kRuns, kLiteral };

struct Form {
    const char* name;
    uint32_t header = 40;
    uint16_t bits = 24;
    uint32_t compression = gfx::kBiRgb;
    bool top_down = false;
    std::array<uint32_t, 3> masks{};  // how 16- and 32-bit pixels are packed (zero: default)
    Rle rle = Rle::kNone;
};

void put(std::vector<uint8_t>& out, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The palette index of each of the two colours: far apart, so nibble and byte mix-ups show.
uint8_t index_of(const Form& f, int colour) {
    if (f.bits == 1) return static_cast<uint8_t>(colour);
    if (f.bits == 4) return colour ? 12 : 3;
    return colour ? 200 : 7;
}

uint32_t pack_channel(uint32_t c8, uint32_t mask) {
    const int n = std::popcount(mask);
    return ((c8 >> (8 - n)) << std::countr_zero(mask)) & mask;
}

std::array<uint32_t, 3> masks_of(const Form& f) {
    if (f.masks[0]) return f.masks;
    if (f.bits == 16) return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0xFF00, 0xFF};
}

uint32_t packed(const Form& f, uint32_t rgb) {
    const auto m = masks_of(f);
    return pack_channel(rgb >> 16 & 0xFF, m[0]) | pack_channel(rgb >> 8 & 0xFF, m[1]) |
           pack_channel(rgb & 0xFF, m[2]);
}

std::vector<uint8_t> row_bytes(const Form& f, int y) {
    std::vector<uint8_t> row;
    if (f.bits <= 8) {
        uint32_t acc = 0;
        int used = 0;
        for (int x = 0; x < kW; ++x) {
            acc = (acc << f.bits) | index_of(f, kPattern[y][x]);
            if ((used += f.bits) == 8) row.push_back(static_cast<uint8_t>(acc)), acc = 0, used = 0;
        }
        if (used) row.push_back(static_cast<uint8_t>(acc << (8 - used)));
    } else {
        for (int x = 0; x < kW; ++x) put(row, packed(f, kPattern[y][x] ? C1 : C0), f.bits / 8);
    }
    row.resize((row.size() + 3) / 4 * 4, 0);
    return row;
}

// Run-length rows, bottom row first: runs of equal pixels, or each row as one literal.
std::vector<uint8_t> rle_bytes(const Form& f) {
    std::vector<uint8_t> out;
    const bool four = f.bits == 4;
    for (int y = kH - 1; y >= 0; --y) {
        if (f.rle == Rle::kLiteral) {
            out.insert(out.end(), {0, kW});
            auto row = row_bytes(f, y);
            row.resize(four ? 4 : 6);  // the literal's bytes padded to an even count
            out.insert(out.end(), row.begin(), row.end());
        } else {
            for (int x = 0; x < kW;) {
                int n = 1;
                while (x + n < kW && kPattern[y][x + n] == kPattern[y][x]) ++n;
                const uint8_t i = index_of(f, kPattern[y][x]);
                out.insert(out.end(), {static_cast<uint8_t>(n), four ? uint8_t(i << 4 | i) : i});
                x += n;
            }
        }
        out.insert(out.end(), {0, 0});
    }
    out.insert(out.end(), {0, 1});
    return out;
}

std::vector<uint8_t> pixel_bytes(const Form& f) {
    if (f.rle != Rle::kNone) return rle_bytes(f);
    std::vector<uint8_t> out;
    for (int i = 0; i < kH; ++i) {
        const auto row = row_bytes(f, f.top_down ? i : kH - 1 - i);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<uint8_t> palette_bytes(const Form& f) {
    std::vector<uint8_t> out;
    if (f.bits > 8) return out;
    for (int i = 0; i < (1 << f.bits); ++i) {
        uint32_t c = kJunk;
        if (i == index_of(f, 0)) c = C0;
        if (i == index_of(f, 1)) c = C1;
        put(out, c, f.header == 12 ? 3 : 4);
    }
    return out;
}

std::vector<uint8_t> info_header(const Form& f) {
    std::vector<uint8_t> h;
    put(h, f.header, 4);
    if (f.header == 12) {
        put(h, kW, 2), put(h, kH, 2), put(h, 1, 2), put(h, f.bits, 2);
        return h;
    }
    put(h, kW, 4), put(h, f.top_down ? -kH : kH, 4), put(h, 1, 2), put(h, f.bits, 2);
    put(h, f.compression, 4);
    h.resize(40, 0);
    if (f.compression == gfx::kBiBitfields || f.header > 40) {
        for (uint32_t m : f.masks) put(h, m, 4);  // after a 40-byte header, or inside a longer one
    }
    if (f.header > 40) h.resize(f.header, 0);
    return h;
}

// A whole file: headers, colour table, `gap` bytes, pixels. `offset` overrides the data offset.
std::vector<uint8_t> make_bmp(const Form& f, uint32_t gap = 0,
                              std::optional<uint32_t> offset = {}) {
    const auto info = info_header(f);
    const auto palette = palette_bytes(f);
    const auto pixels = pixel_bytes(f);
    std::vector<uint8_t> out{'B', 'M'};
    const auto at = static_cast<uint32_t>(14 + info.size() + palette.size() + gap);
    put(out, static_cast<uint32_t>(at + pixels.size()), 4);
    put(out, 0, 4);
    put(out, offset.value_or(at), 4);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), palette.begin(), palette.end());
    out.resize(out.size() + gap, 0xEE);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

const Form kForms[] = {
    {"24-bit"},
    {"24-bit top-down", 40, 24, gfx::kBiRgb, true},
    {"24-bit core header", 12},
    {"24-bit V4 header", 108},
    {"24-bit V5 header", 124},
    {"32-bit", 40, 32},
    {"32-bit top-down V5", 124, 32, gfx::kBiRgb, true},
    {"32-bit masks", 40, 32, gfx::kBiBitfields, false, {0xFF0000, 0xFF00, 0xFF}},
    {"32-bit shifted masks", 40, 32, gfx::kBiBitfields, false, {0xFF00, 0xFF0000, 0xFF000000}},
    {"32-bit masks in V4", 108, 32, gfx::kBiBitfields, false, {0xFF, 0xFF00, 0xFF0000}},
    {"16-bit 555", 40, 16},
    {"16-bit 565 masks", 40, 16, gfx::kBiBitfields, false, {0xF800, 0x07E0, 0x001F}},
    {"16-bit 565 in V5, top-down", 124, 16, gfx::kBiBitfields, true, {0xF800, 0x07E0, 0x001F}},
    {"8-bit", 40, 8},
    {"8-bit core header", 12, 8},
    {"8-bit top-down", 40, 8, gfx::kBiRgb, true},
    {"4-bit", 40, 4},
    {"4-bit core header", 12, 4},
    {"1-bit", 40, 1},
    {"1-bit core header", 12, 1},
    {"RLE8 runs", 40, 8, gfx::kBiRle8, false, {}, Rle::kRuns},
    {"RLE8 literal", 40, 8, gfx::kBiRle8, false, {}, Rle::kLiteral},
    {"RLE8 in V5", 124, 8, gfx::kBiRle8, false, {}, Rle::kRuns},
    {"RLE4 runs", 40, 4, gfx::kBiRle4, false, {}, Rle::kRuns},
    {"RLE4 literal", 40, 4, gfx::kBiRle4, false, {}, Rle::kLiteral},
};

const Form& form(std::string_view name) {
    for (const Form& f : kForms)
        if (f.name == name) return f;
    throw std::invalid_argument("no such form");
}

}  // namespace

TEST(Bmp, EveryFormDecodesToTheSamePixelsWithOrWithoutAGap) {
    const auto expected = reference().pixels();
    for (const Form& f : kForms) {
        for (uint32_t gap : {0u, 1u, 37u}) {
            SCOPED_TRACE(std::string(f.name) + ", gap " + std::to_string(gap));
            const auto s = gfx::decode_bmp(make_bmp(f, gap));
            const std::string why = why_not(s);
            ASSERT_TRUE(s) << why;
            EXPECT_EQ(s->width(), kW);
            EXPECT_EQ(s->height(), kH);
            EXPECT_EQ(s->pixels(), expected);
        }
    }
}

TEST(Bmp, ADataOffsetOfZeroMeansRightAfterTheColourTable) {
    for (const char* name : {"24-bit", "8-bit", "RLE8 runs"}) {
        const Form& f = form(name);
        const auto s = gfx::decode_bmp(make_bmp(f, 0, 0u));
        ASSERT_TRUE(s) << f.name;
        EXPECT_EQ(s->pixels(), reference().pixels()) << f.name;
    }
}

// A plain 32-bit pixel's fourth byte is dropped as Windows draws it, or kept as alpha on
// request (an icon's transparency), whichever way up the rows are stored.
TEST(Bmp, The32BitFourthByteIsDroppedOrKeptAsAlpha) {
    for (const char* name : {"32-bit", "32-bit top-down V5"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = make_bmp(form(name));
        const uint32_t at =
            bytes[10] | bytes[11] << 8 | bytes[12] << 16 | uint32_t{bytes[13]} << 24;
        for (size_t i = at + 3; i < bytes.size(); i += 4) bytes[i] = 0x7F;
        const auto dropped = gfx::decode_bmp(bytes);
        const auto kept = gfx::decode_bmp(bytes, gfx::BmpAlpha::Keep);
        ASSERT_TRUE(dropped && kept);
        EXPECT_EQ(dropped->pixels(), reference().pixels());
        std::vector<uint32_t> with_alpha = reference().pixels();
        for (uint32_t& p : with_alpha) p |= 0x7F000000u;
        EXPECT_EQ(kept->pixels(), with_alpha);
    }
}

// Escapes on a 4 x 3 picture of 8-bit indexes; palette entry i is colour i + 1, and pixels no
// code reaches stay black (0).
TEST(Bmp, RunLengthEscapesSkipAndEndAsWindowsDraws) {
    struct Case {
        const char* what;
        uint32_t compression;
        std::vector<uint8_t> code;
        std::array<uint32_t, 12> top_down;  // expected pixels, top row first
    };
    const Case cases[] = {
        {"delta skips right and up",
         gfx::kBiRle8,
         {1, 4, 0, 2, 1, 1, 1, 5, 0, 1},
         {0, 0, 0, 0, 0, 0, 6, 0, 5, 0, 0, 0}},
        {"end of line leaves the rest black",
         gfx::kBiRle8,
         {2, 3, 0, 0, 1, 9, 0, 1},
         {0, 0, 0, 0, 10, 0, 0, 0, 4, 4, 0, 0}},
        {"a run past the right edge is cut, not wrapped",
         gfx::kBiRle8,
         {9, 2, 0, 0, 1, 3, 0, 1},
         {0, 0, 0, 0, 4, 0, 0, 0, 3, 3, 3, 3}},
        {"a delta past the top ends the picture",
         gfx::kBiRle8,
         {1, 1, 0, 2, 0, 9, 1, 2},
         {0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0}},
        {"RLE4 runs alternate the two nibbles",
         gfx::kBiRle4,
         {3, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1},
         {0, 0, 0, 0, 4, 5, 6, 0, 2, 3, 2, 0}},
    };
    for (const Case& c : cases) {
        const uint32_t bits = c.compression == gfx::kBiRle4 ? 4 : 8;
        const uint32_t entries = 1u << bits;
        std::vector<uint8_t> file{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
        put(file, 14 + 40 + entries * 4, 4);
        put(file, 40, 4), put(file, 4, 4), put(file, 3, 4), put(file, 1, 2), put(file, bits, 2);
        put(file, c.compression, 4);
        file.resize(14 + 40, 0);
        for (uint32_t i = 0; i < entries; ++i) put(file, i + 1, 4);
        file.insert(file.end(), c.code.begin(), c.code.end());
        const auto s = gfx::decode_bmp(file);
        const std::string why = why_not(s);
        ASSERT_TRUE(s) << c.what << ": " << why;
        EXPECT_EQ(s->pixels(), std::vector<uint32_t>(c.top_down.begin(), c.top_down.end()))
            << c.what;
    }
}

// Every cut of a file is refused with a reason, but for a run-length file cut inside its
// end-of-bitmap mark, whose rows are all there; none reads past the cut (AddressSanitizer
// builds watch that).
TEST(Bmp, TruncatedFilesAreRefusedAtEveryCut) {
    for (const char* name : {"24-bit", "24-bit core header", "16-bit 565 masks", "1-bit",
                             "RLE8 literal", "RLE4 literal"}) {
        const Form& f = form(name);
        const auto whole = make_bmp(f, 5);
        for (size_t cut = 0; cut < whole.size(); ++cut) {
            const std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(cut));
            const auto s = gfx::decode_bmp(part);
            const std::string why = why_not(s);
            const bool holds_every_row = f.rle != Rle::kNone && cut + 2 >= whole.size();
            EXPECT_EQ(s.ok(), holds_every_row) << name << " cut at " << cut;
            if (!s) {
                EXPECT_FALSE(why.empty()) << name << " cut at " << cut;
            }
        }
    }
}

TEST(Bmp, LyingHeadersAreRefusedOrReadSafely) {
    struct Case {
        const char* what;
        Form form;
        size_t at;       // a little-endian field to overwrite
        uint32_t value;  // ...with this
        int size;        // of the field in bytes
        bool decodes;
    };
    const Form &rgb = form("24-bit"), &pal = form("8-bit"), &masks = form("16-bit 565 masks");
    const Case cases[] = {
        {"data offset past the end", rgb, 10, 5000, 4, false},
        {"data offset inside the header", rgb, 10, 30, 4, false},
        {"data offset inside the colour table: the entries before it stay", pal, 10, 54 + 8 * 4, 4,
         true},
        {"more colours used than the depth holds", pal, 46, 100000, 4, true},
        {"unknown header size", rgb, 14, 41, 4, false},
        {"zero width", rgb, 18, 0, 4, false},
        {"negative width", rgb, 18, 0xFFFFFFFB, 4, false},
        {"zero height", rgb, 22, 0, 4, false},
        {"most negative height", rgb, 22, 0x80000000, 4, false},
        {"7 bits per pixel", rgb, 28, 7, 2, false},
        {"24-bit with masks", rgb, 30, gfx::kBiBitfields, 4, false},
        {"JPEG inside", rgb, 30, 4, 4, false},
        {"RLE8 at 24 bits", rgb, 30, gfx::kBiRle8, 4, false},
        {"masks with a hole", masks, 54, 0xF00F, 4, false},
        {"height huge for the bytes", rgb, 22, 2000, 4, false},
    };
    for (const Case& c : cases) {
        auto bytes = make_bmp(c.form);
        for (int i = 0; i < c.size; ++i) bytes[c.at + i] = static_cast<uint8_t>(c.value >> (8 * i));
        const auto decoded = gfx::decode_bmp(bytes);
        const std::string why = why_not(decoded);
        EXPECT_EQ(decoded.ok(), c.decodes) << c.what << ": " << why;
        if (!c.decodes) {
            EXPECT_FALSE(why.empty()) << c.what;
        }
    }
    Form top_down_rle = form("RLE8 runs");
    top_down_rle.top_down = true;
    EXPECT_FALSE(gfx::decode_bmp(make_bmp(top_down_rle))) << "run-length files are bottom-up only";
    EXPECT_FALSE(gfx::decode_bmp(std::vector<uint8_t>{'B'}));
}

// The sizes come from the headers alone, so a picture past the caps is refused before its
// pixels are allocated or read; the files here hold no pixels past the headers at all.
TEST(Bmp, PicturesPastTheSizeCapsAreRefusedFromTheirHeaders) {
    struct Case {
        int32_t width, height;
        bool fits;
    };
    const Case cases[] = {
        {2048, 512, true},  {1024, 1024, true},     {2049, 1, false},     {1, 2049, false},
        {1, -2049, false},  {1025, 1024, false},    {16384, 1811, false}, {16384, 16384, false},
        {2048, -512, true}, {0x7FFFFFFF, 1, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
        put(file, 14 + 40 + 8, 4);
        put(file, 40, 4), put(file, static_cast<uint32_t>(c.width), 4);
        put(file, static_cast<uint32_t>(c.height), 4), put(file, 1, 2), put(file, 1, 2);
        file.resize(14 + 40 + 8, 0);
        const uint64_t rows = static_cast<uint64_t>(std::abs(int64_t{c.height}));
        const uint64_t stride = (static_cast<uint64_t>(c.width) + 31) / 32 * 4;
        if (c.fits) file.resize(file.size() + stride * rows, 0xFF);
        const auto info = gfx::read_bmp_info(file);
        const std::string why = why_not(info);
        EXPECT_EQ(info.ok(), c.fits) << c.width << " x " << c.height << ": " << why;
        if (!c.fits) {
            EXPECT_NE(why.find("larger"), std::string::npos) << why;
        }
        if (c.fits) {
            EXPECT_TRUE(gfx::decode_bmp(file)) << c.width << " x " << c.height;
        }
    }
}
