// The Windows icon file the generator draws for vasul.exe and its installer: read back the way
// Windows reads an .ico, entry by entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "assetgen/cli.h"
#include "assetgen/icons.h"
#include "assetgen/reward_pictures.h"
#include "support/fixture_pack.h"

namespace {

using assetgen::Image;
using Bytes = std::vector<uint8_t>;

uint32_t le(const Bytes& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
    return v;
}

uint32_t be32(const Bytes& b, size_t at) {
    return b.at(at) << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3);
}

struct Entry {
    int side;  // from the directory; 0 there means 256
    int bits;
    Bytes image;
};

// The directory and the images it points at; fails the test where the file's structure is
// broken: images outside the file, overlapping, or with bytes between them.
std::vector<Entry> read_ico(const Bytes& ico) {
    std::vector<Entry> out;
    EXPECT_GE(ico.size(), 6u);
    if (ico.size() < 6) return out;
    EXPECT_EQ(le(ico, 0, 2), 0u);
    EXPECT_EQ(le(ico, 2, 2), 1u) << "type: an icon";
    const uint32_t count = le(ico, 4, 2);
    size_t next = 6 + 16 * static_cast<size_t>(count);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = 6 + 16 * static_cast<size_t>(i);
        const int width = ico.at(at) == 0 ? 256 : ico.at(at);
        const int height = ico.at(at + 1) == 0 ? 256 : ico.at(at + 1);
        EXPECT_EQ(width, height) << "entry " << i;
        EXPECT_EQ(le(ico, at + 4, 2), 1u) << "planes, entry " << i;
        const uint32_t size = le(ico, at + 8, 4), offset = le(ico, at + 12, 4);
        EXPECT_EQ(offset, next) << "entry " << i << " does not follow the one before";
        if (offset != next || offset + size > ico.size()) {
            ADD_FAILURE() << "entry " << i << " lies outside the file";
            return out;
        }
        out.push_back({width, static_cast<int>(le(ico, at + 6, 2)),
                       Bytes(ico.begin() + offset, ico.begin() + offset + size)});
        next = offset + size;
    }
    EXPECT_EQ(next, ico.size()) << "bytes after the last image";
    return out;
}

bool is_png(const Bytes& image) {
    const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return image.size() > 33 && std::equal(signature.begin(), signature.end(), image.begin());
}

// A test picture: colours that differ in every channel from pixel to pixel, a clear top-left
// quarter, a half-covered pixel and solid pixels elsewhere.
Image pattern(int side) {
    Image img(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            img.at(x, y) = {static_cast<float>(x % 256) / 255.f,
                            static_cast<float>(y % 256) / 255.f,
                            static_cast<float>((x + 2 * y) % 256) / 255.f};
            img.alpha(x, y) = (x < side / 2 && y < side / 2) ? 0.f : 1.f;
        }
    img.alpha(side - 1, 0) = 128.f / 255.f;
    return img;
}

// A bitmap entry as Windows reads it: a 40-byte header of twice the height, BGRA rows from the
// bottom, then a 1-bit mask of the pixels whose alpha byte is 0, in rows padded to four bytes.
void expect_bitmap_of(const Bytes& image, const Image& icon) {
    const int side = icon.width();
    const size_t mask_row = static_cast<size_t>((side + 31) / 32 * 4);
    ASSERT_EQ(image.size(), 40 + side * side * 4 + mask_row * side) << side;
    EXPECT_EQ(le(image, 0, 4), 40u);
    EXPECT_EQ(le(image, 4, 4), static_cast<uint32_t>(side));
    EXPECT_EQ(le(image, 8, 4), static_cast<uint32_t>(2 * side)) << "colour rows and mask rows";
    EXPECT_EQ(le(image, 12, 2), 1u);
    EXPECT_EQ(le(image, 14, 2), 32u);
    EXPECT_EQ(le(image, 16, 4), 0u) << "uncompressed";
    // The painter's colours may stray past 0..1; they are clamped, then rounded.
    auto byte = [](float v) {
        return static_cast<uint8_t>(std::lround(std::clamp(v, 0.f, 1.f) * 255.f));
    };
    const size_t mask = 40 + static_cast<size_t>(side * side * 4);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int row = side - 1 - y;
            const size_t at = 40 + static_cast<size_t>((row * side + x) * 4);
            const assetgen::Rgb c = icon.at(x, y);
            const Bytes want = {byte(c.b), byte(c.g), byte(c.r), byte(icon.alpha(x, y))};
            ASSERT_EQ(Bytes(image.begin() + at, image.begin() + at + 4), want)
                << side << ": pixel " << x << "," << y;
            const bool clear = (image.at(mask + row * mask_row + x / 8) >> (7 - x % 8)) & 1;
            ASSERT_EQ(clear, want[3] == 0) << side << ": mask at " << x << "," << y;
        }
}

TEST(WindowsIcon, EachSizeIsStoredAsWindowsReadsIt) {
    // 1 and 33 pixels: mask rows padded from one bit and from 33 bits; 128: the largest bitmap;
    // 129 and 256: PNG, 256 written as 0 in the directory.
    const std::vector<int> sides = {16, 1, 33, 128, 129, 256};
    std::vector<Image> icons;
    for (int side : sides) icons.push_back(pattern(side));
    const std::vector<Entry> entries = read_ico(assetgen::encode_ico(icons));
    ASSERT_EQ(entries.size(), sides.size());
    for (size_t i = 0; i < sides.size(); ++i) {
        const int side = sides[i];
        EXPECT_EQ(entries[i].side, side);
        EXPECT_EQ(entries[i].bits, 32) << side;
        if (side <= 128) {
            expect_bitmap_of(entries[i].image, icons[i]);
            continue;
        }
        const Bytes& png = entries[i].image;
        ASSERT_TRUE(is_png(png)) << side;
        EXPECT_EQ(be32(png, 12), 0x49484452u) << "IHDR first";
        EXPECT_EQ(be32(png, 16), static_cast<uint32_t>(side));
        EXPECT_EQ(be32(png, 20), static_cast<uint32_t>(side));
        EXPECT_EQ(png.at(24), 8) << "8 bits a channel";
        EXPECT_EQ(png.at(25), 6) << "RGBA";
    }
}

TEST(WindowsIcon, RefusesWhatAnIcoCannotHold) {
    for (const auto& [w, h] : {std::pair{0, 0}, {257, 257}, {32, 16}}) {
        EXPECT_THROW(assetgen::encode_ico({Image(w, h)}), std::invalid_argument) << w << "x" << h;
    }
}

TEST(WindowsIcon, TheGeneratorWritesThePieceAtEverySize) {
    const auto dir = fixture::make_temp_dir("windows-icon");
    const auto file = dir / "sub" / "vasul.ico";
    std::ostringstream out, err;
    ASSERT_EQ(assetgen::run_cli({"--windows-icon", file.string()}, out, err), 0) << err.str();
    std::ifstream in(file, std::ios::binary);
    const Bytes ico((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<Entry> entries = read_ico(ico);
    const std::vector<int> sides(std::begin(assetgen::kWindowsIconSizes),
                                 std::end(assetgen::kWindowsIconSizes));
    ASSERT_EQ(entries.size(), sides.size());
    const Image lake = assetgen::paint_reward_picture(1);
    for (size_t i = 0; i < sides.size(); ++i) {
        EXPECT_EQ(entries[i].side, sides[i]);
        // The artwork of the Linux icons, not a stand-in.
        if (sides[i] == 32) expect_bitmap_of(entries[i].image, assetgen::paint_icon(lake, 32));
    }
    EXPECT_TRUE(is_png(entries.back().image));
    std::filesystem::remove_all(dir);
}

}  // namespace
