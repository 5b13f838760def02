#include "gfx/archive.h"

#include <gtest/gtest.h>

#include "gfx/bmp.h"
#include "platform/data_source.h"
#include "support/fixture_pack.h"
#include "support/named_pipe.h"

TEST(Archive, EqualSlicesIgnoreTheRemainderAndGetTheSignature) {
    std::vector<uint8_t> bytes(19 * 10 + 7);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    platform::MemoryDataSource data;
    data.put("a.bin", bytes);
    auto slice = gfx::extract_slice(data, "a.bin", 3, 19);
    ASSERT_TRUE(slice);
    ASSERT_EQ(slice->size(), 10u);
    EXPECT_EQ((*slice)[0], 'B');
    EXPECT_EQ((*slice)[1], 'M');
    EXPECT_EQ((*slice)[2], 32);
    EXPECT_EQ((*slice)[9], 39);
    EXPECT_EQ(gfx::extract_slice(data, "a.bin", 18, 19)->back(), 189);
    EXPECT_EQ(gfx::extract_slice(data, "a.bin", 19, 19).error().kind, platform::ErrorKind::Missing);
    EXPECT_EQ(gfx::extract_slice(data, "missing.bin", 0, 19).error().kind,
              platform::ErrorKind::Missing);
    auto range = gfx::extract_range(data, "a.bin", 100, 110);
    ASSERT_TRUE(range);
    ASSERT_EQ(range->size(), 10u);
    EXPECT_EQ((*range)[0], 'B');
    EXPECT_EQ((*range)[2], 102);
    EXPECT_EQ(gfx::extract_range(data, "a.bin", 190, 300).error().kind, platform::ErrorKind::Short)
        << "short archive";
}

TEST(Archive, PieceTableIsContiguous) {
    EXPECT_EQ(gfx::kPieceTable[0].first, 0u);
    for (size_t i = 1; i < gfx::kPieceTable.size(); ++i) {
        EXPECT_EQ(gfx::kPieceTable[i].first, gfx::kPieceTable[i - 1].end) << i;
    }
    EXPECT_EQ(gfx::kPieceTable[8].size(), 3709532u);
    EXPECT_EQ(gfx::kPieceTable[12].size(), 10256u);
}

TEST(Archive, CheckNamesTheMissingOrShortFileAndItsFolder) {
    auto dir = fixture::make_temp_dir("check");
    const platform::FileDataSource data(dir);
    const auto problem = [&] {
        const platform::Result<void> checked = gfx::check_archives(data);
        return checked ? std::string() : checked.error().reason;
    };
    EXPECT_NE(problem().find("image/data.bmp is missing"), std::string::npos) << problem();
    EXPECT_NE(problem().find((dir / "image").string()), std::string::npos) << problem();
    fixture::write_pack(dir);
    EXPECT_EQ(problem(), "");
    std::filesystem::resize_file(dir / "image/dat2.bmp", 5000000);
    EXPECT_NE(problem().find("image/dat2.bmp is too short"), std::string::npos);
    std::filesystem::remove_all(dir);
}

// An archive that is a folder or a named pipe yields no picture at once, and the start-up
// check says what it is instead of calling it missing.
TEST(Archive, SomethingOtherThanAFileIsRefusedAtOnce) {
    struct Case {
        const char* archive;
        bool pipe;
        const char* problem;
    };
    const Case cases[] = {
        {gfx::kSheetArchive, true, "image/dat2.bmp is a named pipe"},
        {gfx::kPictureArchive, true, "image/data.bmp is a named pipe"},
        {gfx::kPictureArchive, false, "image/data.bmp is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        auto dir = fixture::make_temp_dir("archive-kind");
        fixture::write_pack(dir);
        const auto file = dir / c.archive;
        std::filesystem::remove(file);
        if (c.pipe) {
            fixture::make_named_pipe(file);
        } else {
            std::filesystem::create_directory(file);
        }
        const auto piece = gfx::kPieceTable[gfx::kCursorPiece];
        const platform::FileDataSource data(dir);
        fixture::without_waiting_on(file, [&] {
            EXPECT_FALSE(gfx::extract_range(data, c.archive, piece.first, piece.end));
            EXPECT_FALSE(gfx::extract_slice(data, c.archive, 0, gfx::kPictureCount));
            const platform::Result<void> checked = gfx::check_archives(data);
            ASSERT_FALSE(checked);
            EXPECT_NE(checked.error().reason.find(c.problem), std::string::npos)
                << checked.error().reason;
        });
        std::filesystem::remove_all(dir);
    }
}

TEST(Bmp, EncodedPicturesDecodeBackWithPaddingAfterThePixels) {
    gfx::Surface s(7, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            s.set_pixel(x, y, static_cast<uint32_t>(x * 0x10203 + y * 0x30201));
    auto bytes = gfx::encode_bmp24(s, 100);
    EXPECT_EQ(bytes.size(), gfx::bmp24_size(7, 3) + 100);
    auto back = gfx::decode_bmp(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels(), s.pixels());
}

TEST(Bmp, CorruptHeadersAreRefusedWithoutReadingPastTheBuffer) {
    auto good = gfx::encode_bmp24(gfx::Surface(16, 16, 0x123456));
    struct Case {
        const char* what;
        size_t offset;
        uint32_t value;  // written as a 32-bit little-endian word; ~0u: truncate instead
    };
    const Case cases[] = {
        {"huge width", 18, 100000},    {"huge height", 22, 0x7FFFFFFF},
        {"zero width", 18, 0},         {"offset past end", 10, 5000},
        {"tiny header", 14, 12},       {"truncated pixels", 300, ~0u},
        {"truncated header", 20, ~0u},
    };
    for (const Case& c : cases) {
        auto bytes = good;
        if (c.value == ~0u) {
            bytes.resize(c.offset);
        } else {
            for (int i = 0; i < 4; ++i)
                bytes[c.offset + i] = static_cast<uint8_t>(c.value >> (8 * i));
        }
        const auto decoded = gfx::decode_bmp(bytes);
        ASSERT_FALSE(decoded) << c.what;
        EXPECT_EQ(decoded.error().kind, platform::ErrorKind::Invalid) << c.what;
        EXPECT_FALSE(decoded.error().reason.empty()) << c.what;
    }
    EXPECT_FALSE(gfx::decode_bmp(std::vector<uint8_t>{'B'}));
}
