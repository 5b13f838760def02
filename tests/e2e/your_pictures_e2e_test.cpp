// The player's own pictures through the real binary: a portable game whose pictures folder
// holds two pictures, YOURS chosen in the options by a replay, and the stages that follow.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/bmp.h"
#include "support/fixture_pack.h"
#include "support/game_binary.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kRed = 0xE01810, kBlue = 0x1028E0;

void write_picture(const fs::path& file, uint32_t colour) {
    fs::create_directories(file.parent_path());
    const std::vector<uint8_t> bytes = gfx::encode_bmp24(gfx::Surface(160, 120, colour));
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// How many pixels of the frame are within 3 of the colour in every channel.
int pixels_of(const gfx::Surface& frame, uint32_t colour) {
    int n = 0;
    for (uint32_t p : frame.pixels()) {
        bool near = true;
        for (int shift : {0, 8, 16}) {
            const int d =
                static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((colour >> shift) & 0xFF);
            near = near && d >= -3 && d <= 3;
        }
        n += near ? 1 : 0;
    }
    return n;
}

// The replay chooses YOURS in the options, goes back and starts a game, whose first stage is
// one of the two pictures. Two runs play the same stages.
TEST(YourPicturesReplay, TheStagesShowThePlayersPicturesAndReplayAlike) {
    const fs::path dir = fixture::make_data_folder("your-pictures", VASUL_DATA_DIR);
    write_picture(dir / "pictures" / "a.bmp", kRed);
    write_picture(dir / "pictures" / "b.bmp", kBlue);
    std::ofstream(dir / "r.txt")
        << "vasul-replay 1\nseed 4\n"
           "@2 move 300 230\n@3 ldown 300 230\n@4 lup 300 230\n"  // options
           "@5 move 471 397\n@6 ldown 471 397\n@7 lup 471 397\n"  // YOURS
           "@8 move 20 20\n@9 ldown 20 20\n@10 lup 20 20\n"       // back
           "@11 move 300 152\n@12 ldown 300 152\n@13 lup 300 152\n";
    const std::string args = "--headless --replay r.txt --frames 60 --dump-every 59 --dump-frames ";
    const auto first = fixture::run_binary(VASUL_BINARY, dir, args + "a");
    ASSERT_EQ(first.status, 0) << first.err;
    const gfx::Surface frame = fixture::read_frame(dir / "a" / fixture::frame_file(59));
    ASSERT_FALSE(frame.pixels().empty());
    const int red = pixels_of(frame, kRed), blue = pixels_of(frame, kBlue);
    // Stage 1's 48 pieces are one of the two pictures, and nothing of the other shows yet.
    EXPECT_GT(std::max(red, blue), 48 * 40 * 40) << red << " red, " << blue << " blue";
    EXPECT_EQ(std::min(red, blue), 0);
    EXPECT_NE(fixture::file_text(dir / "vasul.ini").find("[pictures]"), std::string::npos);

    // The seed and the folder decide the stages: a second run draws the same frames.
    fs::remove(dir / "vasul.ini");
    const auto second = fixture::run_binary(VASUL_BINARY, dir, args + "b");
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(fixture::file_text(dir / "a" / fixture::frame_file(59)),
              fixture::file_text(dir / "b" / fixture::frame_file(59)));
    fs::remove_all(dir);
}

}  // namespace
