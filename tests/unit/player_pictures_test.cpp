// The player's own pictures in the game: the folder beside vasul.ini, a drop on the window, the
// options' PICTURES control and the stages that take them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/game.h"
#include "frontend_helpers.h"
#include "gfx/bmp.h"
#include "pictures/picture_folder.h"
#include "rules/state.h"
#include "scenes/play_scene.h"
#include "support/fixture_pack.h"
#ifndef _WIN32
#include "support/named_pipe.h"
#endif
#include "support/test_game.h"

namespace {

namespace fs = std::filesystem;
using platform::kWmLButtonDown;

constexpr uint32_t kRed = 0xC02010;
constexpr uint32_t kBlue = 0x1030D0;

void write_picture(const fs::path& file, uint32_t colour, int w = 64, int h = 48) {
    fs::create_directories(file.parent_path());
    const std::vector<uint8_t> bytes = gfx::encode_bmp24(gfx::Surface(w, h, colour));
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> names(const std::vector<fs::path>& files) {
    std::vector<std::string> out;
    for (const fs::path& f : files) out.push_back(f.filename().string());
    return out;
}

// Channels within 2: the fit resamples even a flat colour.
bool near(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d < -2 || d > 2) return false;
    }
    return true;
}

class PictureFolder : public ::testing::Test {
  protected:
    ~PictureFolder() override { fs::remove_all(dir); }
    fs::path dir = fixture::make_temp_dir("pictures");
    fs::path folder = dir / "pictures";
};

TEST_F(PictureFolder, ListsPictureFilesByNameAndNothingElse) {
    write_picture(folder / "b.jpg", kRed);
    write_picture(folder / "A.PNG", kRed);
    write_picture(folder / "c.Bmp", kRed);
    std::ofstream(folder / "notes.txt") << "x";
    fs::create_directories(folder / "d.png");
#ifndef _WIN32
    fixture::make_named_pipe(folder / "e.gif");
#endif
    EXPECT_EQ(names(pictures::list_pictures(folder)),
              (std::vector<std::string>{"A.PNG", "b.jpg", "c.Bmp"}));
    EXPECT_TRUE(pictures::list_pictures(dir / "none").empty());
    EXPECT_EQ(pictures::picture_folder(dir / "vasul.ini"), folder);
}

TEST_F(PictureFolder, LooksUsableFromTheHeaderAlone) {
    write_picture(folder / "good.bmp", kRed);
    std::ofstream(folder / "text.png") << "not a picture at all";
    std::ofstream(folder / "empty.jpg");
    // A BMP header promising 10000 x 10000 pixels: more than 40 megapixels.
    std::vector<uint8_t> huge = gfx::encode_bmp24(gfx::Surface(2, 2, kRed));
    for (int at : {18, 22})
        for (int i = 0; i < 4; ++i)
            huge[static_cast<size_t>(at + i)] = static_cast<uint8_t>(10000 >> (8 * i));
    std::ofstream(folder / "huge.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(huge.data()),
               static_cast<std::streamsize>(huge.size()));
    EXPECT_TRUE(pictures::looks_usable(folder / "good.bmp"));
    for (const char* name : {"text.png", "empty.jpg", "huge.bmp", "missing.bmp"})
        EXPECT_FALSE(pictures::looks_usable(folder / name)) << name;
    EXPECT_EQ(names(pictures::usable_pictures(folder)), (std::vector<std::string>{"good.bmp"}));
}

// A drop copies what decodes under its own name, recognises bytes already there, gives a
// different file of a taken name a new one, and names each refusal with its reason.
TEST_F(PictureFolder, ImportTakesCopiesOnceAndNamesWhatItRefuses) {
    const fs::path from = dir / "from";
    write_picture(from / "red.bmp", kRed);
    write_picture(from / "again.bmp", kRed);           // the same bytes as red.bmp
    write_picture(from / "other" / "red.bmp", kBlue);  // the same name, other bytes
    std::ofstream(from / "notes.txt") << "words";
    fs::create_directories(from / "folder.png");
    const auto report = pictures::import_pictures(
        folder, {from / "red.bmp", from / "again.bmp", from / "other" / "red.bmp",
                 from / "notes.txt", from / "folder.png", from / "missing.png"});
    EXPECT_EQ(report.taken, 3);
    ASSERT_EQ(report.refused.size(), 3u);
    EXPECT_EQ(report.refused[0].text().rfind("notes.txt is not", 0), 0u)
        << report.refused[0].text();
    EXPECT_EQ(report.refused[1].text(), "folder.png is a directory");
    EXPECT_EQ(report.refused[2].text(), "missing.png is missing");
    EXPECT_EQ(names(pictures::list_pictures(folder)),
              (std::vector<std::string>{"red-2.bmp", "red.bmp"}));
    EXPECT_EQ(fixture::file_text(folder / "red.bmp"), fixture::file_text(from / "red.bmp"));
    EXPECT_EQ(fixture::file_text(folder / "red-2.bmp"),
              fixture::file_text(from / "other" / "red.bmp"));
    // Nothing is left behind by the writer, and the dropped files are untouched.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    EXPECT_TRUE(fs::exists(from / "again.bmp"));
}

#ifndef _WIN32
// A named pipe named like a picture is refused at once, never waited on.
TEST_F(PictureFolder, ANamedPipeIsRefusedWithoutWaiting) {
    fs::create_directories(dir / "from");
    fixture::make_named_pipe(dir / "from" / "pipe.jpg");
    const auto report = fixture::without_waiting_on(dir / "from" / "pipe.jpg", [&] {
        return pictures::import_pictures(folder, {dir / "from" / "pipe.jpg"});
    });
    EXPECT_EQ(report.taken, 0);
    ASSERT_EQ(report.refused.size(), 1u);
    EXPECT_EQ(report.refused[0].text(), "pipe.jpg is a named pipe");
    EXPECT_FALSE(pictures::looks_usable(dir / "from" / "pipe.jpg"));
}
#endif

// A PNG whose header is sound and whose compressed pixels are not.
void write_broken_png(const fs::path& file) {
    static constexpr char kHeader[] =
        "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x04\0\0\0\x04\x08\x02\0\0\0"
        "\0\0\0\0";
    static constexpr char kPixels[] = "\0\0\0\x04IDAT\xff\xff\xff\xff\0\0\0\0\0\0\0\0IEND\0\0\0\0";
    const std::string header(kHeader, sizeof kHeader - 1), pixels(kPixels, sizeof kPixels - 1);
    std::ofstream(file, std::ios::binary) << header << pixels;
}

// The stage picture of a game with YOURS: the colour of the player's picture at a tile.
uint32_t stage_colour(const Game& g) {
    return g.sheets.screen_picture.surface()->pixel(200, 200) & 0xFFFFFFu;
}

class YourPictures : public ::testing::Test {
  protected:
    void start(bool yours, uint32_t seed = 3) {
        frontend::write_ini(t, yours ? "[pictures]\nyours=1\n" : "");
        t.start(seed);
    }
    std::vector<uint32_t> stage_colours() {
        std::vector<uint32_t> colours;
        for (const fs::path& file : t.game->play.stage_files) {
            colours.push_back(file.filename() == "a.bmp" ? kRed : kBlue);
        }
        return colours;
    }
    TestGame t;
    fs::path folder = t.dir / "pictures";
};

// Five stages from two pictures: shuffled by the game's generator, repeating in that order, and
// the stage's picture is the player's, fitted to the screen.
TEST_F(YourPictures, FiveStagesTakeThePlayersPicturesInAShuffledOrder) {
    write_picture(folder / "a.bmp", kRed);
    write_picture(folder / "b.bmp", kBlue, 320, 200);
    start(true);
    app::change_scene(*t.game, Play);
    const std::vector<uint32_t> order = stage_colours();
    ASSERT_EQ(order.size(), static_cast<size_t>(rules::kStageCount));
    for (size_t i = 2; i < order.size(); ++i) EXPECT_EQ(order[i], order[i - 2]);
    EXPECT_NE(order[0], order[1]);
    t.pass();
    EXPECT_TRUE(near(stage_colour(*t.game), order[0])) << std::hex << stage_colour(*t.game);
    EXPECT_EQ(t.game->sheets.screen_picture.cell_count(), rules::kPieceCount);

    // The same seed and folder deal the same order.
    TestGame again;
    frontend::write_ini(again, "[pictures]\nyours=1\n");
    write_picture(again.dir / "pictures" / "a.bmp", kRed);
    write_picture(again.dir / "pictures" / "b.bmp", kBlue, 320, 200);
    again.start(3);
    app::change_scene(*again.game, Play);
    EXPECT_EQ(again.game->play.stage_files.front().filename(),
              t.game->play.stage_files.front().filename());
}

// A player who never chose YOURS plays exactly the game's stages, pictures in the folder or not:
// nothing is drawn from the generator for them.
TEST_F(YourPictures, WithoutYoursOrWithoutPicturesTheGamesOwnStagesComeOut) {
    write_picture(folder / "a.bmp", kRed);
    start(false);
    app::change_scene(*t.game, Play);
    EXPECT_TRUE(t.game->play.stage_files.empty());
    TestGame plain;
    plain.start(3);
    app::change_scene(*plain.game, Play);
    EXPECT_EQ(t.game->state.hidden_piece, plain.game->state.hidden_piece);
    EXPECT_EQ(t.game->state.x, plain.game->state.x);
    t.pass();
    plain.pass();
    EXPECT_TRUE(t.game->back_buffer().pixels() == plain.game->back_buffer().pixels());

    TestGame empty;
    frontend::write_ini(empty, "[pictures]\nyours=1\n");
    fs::create_directories(empty.dir / "pictures");
    std::ofstream(empty.dir / "pictures" / "broken.png") << "x";
    empty.start(3);
    app::change_scene(*empty.game, Play);
    EXPECT_TRUE(empty.game->play.stage_files.empty()) << "no usable picture: the game's own";
    EXPECT_EQ(empty.game->state.hidden_piece, plain.game->state.hidden_piece);
}

// A picture that passed the header check but does not decode gives its stage back to the game.
TEST_F(YourPictures, APictureThatFailsToDecodeLeavesTheStageToTheGame) {
    write_picture(folder / "a.bmp", kRed);
    write_broken_png(folder / "b.png");
    ASSERT_TRUE(pictures::looks_usable(folder / "b.png"));
    start(true);
    testing::internal::CaptureStderr();
    app::change_scene(*t.game, Play);
    // Stage 2 will want the cut one if stage 1 had the whole one, and the other way round.
    for (int i = 0; i < 4; ++i) puzzle::begin_stage(*t.game);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("b.png"), std::string::npos) << err;
    EXPECT_EQ(t.game->sheets.screen_picture.cell_count(), rules::kPieceCount);
}

// Dropped pictures land in the folder on any screen; the notice at the foot says what was
// taken and refused, for five seconds.
TEST_F(YourPictures, ADropFillsTheFolderAndShowsANotice) {
    start(false);
    const fs::path from = t.dir / "from";
    write_picture(from / "holiday.bmp", kRed);
    std::ofstream(from / "list.txt") << "x";
    // A picture that does not decode: the log has the decoder's detail, the screen the reason.
    write_broken_png(from / "cut.png");
    t.passes(2);
    const uint32_t before = t.pixel(320, 470);
    t.platform.drop_files({from / "holiday.bmp", from / "list.txt", from / "cut.png"});
    testing::internal::CaptureStderr();
    t.pass();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("list.txt"), std::string::npos) << err;
    EXPECT_NE(err.find("cut.png cannot be decoded: "), std::string::npos) << err;
    EXPECT_EQ(names(pictures::list_pictures(folder)), (std::vector<std::string>{"holiday.bmp"}));
    ASSERT_EQ(t.game->notice.lines.size(), 3u);
    EXPECT_EQ(t.game->notice.lines[0], "1 PICTURE TAKEN");
    EXPECT_EQ(t.game->notice.lines[1].rfind("LIST.TXT IS NOT", 0), 0u) << t.game->notice.lines[1];
    EXPECT_EQ(t.game->notice.lines[2], "CUT.PNG CANNOT BE DECODED");
    EXPECT_NE(t.pixel(320, 470), before) << "the band at the foot";
    t.passes(5000 / 16 + 2);
    EXPECT_TRUE(t.game->notice.lines.empty());
    EXPECT_EQ(t.pixel(320, 470), before);
}

// A machine whose clock moves 250 ms between any two readings, as a slow decode makes it.
class SlowClock final : public platform::Platform {
  public:
    void begin_pass(uint64_t pass) override { inner_.begin_pass(pass); }
    bool peek_message(platform::Message& out) override { return inner_.peek_message(out); }
    void post_message(const platform::Message& m) override { inner_.post_message(m); }
    void destroy_window() override { inner_.destroy_window(); }
    gfx::Surface& back_buffer() override { return inner_.back_buffer(); }
    platform::FlipResult flip() override { return inner_.flip(); }
    void restore() override { inner_.restore(); }
    void hide_cursor() override { inner_.hide_cursor(); }
    uint32_t ticks() override { return now_ += 250; }
    void set_ticks(uint32_t ms) override { now_ = ms; }
    platform::AudioDevice& audio() override { return inner_.audio(); }

  private:
    platform::HeadlessPlatform inner_;
    uint32_t now_ = 0;
};

// The countdown and the pop-ups' jiggle stand still while a stage's photo is decoded, as they
// do for the game's own pictures, which take no time to load.
TEST(YourPicturesClock, TheClocksStandStillWhileAPhotoLoads) {
    for (const bool yours : {false, true}) {
        const fs::path dir = fixture::make_temp_dir("slow-clock");
        fixture::write_pack(dir);
        std::ofstream(dir / "vasul.ini") << (yours ? "[pictures]\nyours=1\n" : "");
        write_picture(dir / "pictures" / "a.bmp", kRed);
        {
            SlowClock clock;
            Game game(clock, dir);
            app::start_up(game, 3);
            app::change_scene(game, Play);
            const uint32_t second = game.play.second_clock, quarter = game.play.quarter_clock;
            puzzle::begin_stage(game);
            EXPECT_EQ(game.play.second_clock - second, yours ? 250u : 0u) << yours;
            EXPECT_EQ(game.play.quarter_clock - quarter, yours ? 250u : 0u) << yours;
        }
        fs::remove_all(dir);
    }
}

TEST(FontText, KeepsWhatTheGameFontDrawsAndBlanksTheRest) {
    EXPECT_EQ(app::font_text("my_photo (2).jpeg: \xc3\xa9t\xc3\xa9"), "MY-PHOTO (2).JPEG:  T ");
}

// The options' PICTURES row: its arrows choose GAME or YOURS and write it; YOURS without a
// usable picture reads NONE, and a drop while the options are up is counted at once.
TEST_F(YourPictures, TheOptionsChooseAndSayWhetherThereAreAny) {
    start(false);
    frontend::click_title_item(t, frontend::kOptionsItem);
    ASSERT_EQ(t.game->current_scene, Options);
    t.click(471, 397);
    EXPECT_TRUE(t.game->your_pictures);
    EXPECT_EQ(frontend::read_ini(t.dir)["pictures/yours"], "1");
    EXPECT_EQ(t.game->options.usable_pictures, 0);
    write_picture(t.dir / "from" / "a.bmp", kRed);
    t.platform.drop_files({t.dir / "from" / "a.bmp"});
    t.passes(2);
    EXPECT_EQ(t.game->options.usable_pictures, 1);
    t.click(338, 397);
    EXPECT_FALSE(t.game->your_pictures);
    EXPECT_EQ(frontend::read_ini(t.dir)["pictures/yours"], "0");
}

}  // namespace
