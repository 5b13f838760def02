#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "app/data_paths.h"
#include "assetgen/cli.h"
#include "assetgen/icons.h"
#include "assetgen/music.h"
#include "assetgen/pack_builder.h"
#include "assetgen/photo_import.h"
#include "assetgen/reward_pictures.h"
#include "assetgen/screen_layout.h"
#include "assetgen/screens.h"
#include "assetgen/sheets.h"
#include "assetgen/stb_io.h"
#include "assetgen/text_render.h"
#include "gfx/archive.h"
#include "gfx/bmp.h"
#include "gfx/sprite_sheet.h"
#include "gfx/text.h"
#include "packwriter/packwriter.h"
#include "platform/data_source.h"
#include "platform/numbers.h"
#include "scenes/music_test_scene.h"
#include "scenes/options_scene.h"
#include "scenes/title_scene.h"
#include "settings/profile.h"
#include "support/fixture_pack.h"
#include "viewer/script.h"

namespace {

using Files = std::map<std::string, std::vector<uint8_t>>;

// Channels within 2 of each other: scaling may round a flat colour by one step.
bool near(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d < -2 || d > 2) return false;
    }
    return true;
}

Files as_map(const std::vector<assetgen::PackFile>& files) {
    Files m;
    for (const auto& f : files) m[f.path] = f.bytes;
    return m;
}

// The default pack as the build's generator wrote it (pictures, sheets, script, icon and
// settings; the music has tests of its own), shared by the tests that only read it. One test
// builds it again in this process and compares.
class DataPack : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        files_ = new Files;
        for (const char* name : {gfx::kPictureArchive, gfx::kSheetArchive, "image/icon.bmp",
                                 "vasul.spt", "vasul.ini"}) {
            const std::string text =
                fixture::file_text(std::filesystem::path(VASUL_DATA_DIR) / name);
            if (!text.empty()) (*files_)[name].assign(text.begin(), text.end());
        }
    }
    static void TearDownTestSuite() {
        delete files_;
        files_ = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(files_->size(), 5u) << "the generated pack is not all in " << VASUL_DATA_DIR;
    }
    static const Files& files() { return *files_; }

    static std::span<const uint8_t> piece_bytes(int p) {
        const auto& archive = files().at(gfx::kSheetArchive);
        const auto range = gfx::kPieceTable[static_cast<size_t>(p)];
        return std::span<const uint8_t>(archive).subspan(range.first, range.size());
    }
    static gfx::SpriteSheet sheet(int p) {
        gfx::SpriteSheet s;
        const auto loaded = s.load_sheet(piece_bytes(p));
        EXPECT_TRUE(loaded) << "piece " << p << ": " << loaded.error().reason;
        return s;
    }

    static Files* files_;
};

Files* DataPack::files_ = nullptr;

TEST_F(DataPack, ArchivesHaveTheGamesLayout) {
    const auto& pictures = files().at(gfx::kPictureArchive);
    ASSERT_EQ(pictures.size() % gfx::kPictureCount, 0u);
    const size_t slice = pictures.size() / gfx::kPictureCount;
    for (int n = 0; n < gfx::kPictureCount; ++n) {
        const std::span<const uint8_t> bytes(pictures.data() + n * slice, slice);
        auto info = gfx::read_bmp_info(bytes);
        ASSERT_TRUE(info) << "slice " << n;
        EXPECT_EQ(info->file_size, slice) << "slice " << n;
        auto picture = gfx::decode_bmp(bytes);
        ASSERT_TRUE(picture) << "slice " << n;
        EXPECT_EQ(picture->width(), 640);
        EXPECT_EQ(picture->height(), 480);
    }
    EXPECT_EQ(files().at(gfx::kSheetArchive).size(), gfx::kPieceTable.back().end);
    for (int p = 0; p < gfx::kPieceCount; ++p) {
        auto info = gfx::read_bmp_info(piece_bytes(p));
        ASSERT_TRUE(info) << "piece " << p;
        EXPECT_EQ(info->file_size, gfx::kPieceTable[static_cast<size_t>(p)].size())
            << "piece " << p;
    }
}

TEST_F(DataPack, MarkedSheetsLoadWithTheirCells) {
    struct Expect {
        int piece;
        int cells;
        int width, height;  // of every cell; 0 when cells differ
    };
    const Expect table[] = {
        {gfx::kSwitchPiece, 4, 47, 23},
        {gfx::kArrowPiece, 4, 23, 23},
        {gfx::kMarksPiece, 4, 80, 80},
        {gfx::kBackButtonPiece, 2, 47, 23},
        {gfx::kCaptionPanelPiece, 1, assetgen::kCaptionPanelWidth, assetgen::kCaptionPanelHeight},
        {gfx::kIllustrationPiece, 6, assetgen::kIllustrationWidth, assetgen::kIllustrationHeight},
        {gfx::kFontPiece, 50, 0, 0},
        {gfx::kScriptFontPiece, assetgen::kScriptFontCells, 0, 0},
        {gfx::kStageNumbersPiece, 6, 0, 0},
        {gfx::kCursorPiece, 3, 0, 0},
    };
    for (const Expect& e : table) {
        const gfx::SpriteSheet s = sheet(e.piece);
        ASSERT_EQ(s.cell_count(), e.cells) << "piece " << e.piece;
        if (e.width == 0) continue;
        for (int i = 0; i < e.cells; ++i) {
            const gfx::SpriteCell* c = s.cell(i);
            EXPECT_EQ(c->source.width(), e.width) << "piece " << e.piece << " cell " << i;
            EXPECT_EQ(c->source.height(), e.height) << "piece " << e.piece << " cell " << i;
            EXPECT_EQ(c->placement, (gfx::Rect{0, 0, e.width, e.height}))
                << "drawn from its top-left";
        }
    }
}

TEST_F(DataPack, MenuHighlightsFillTheirRectangles) {
    const gfx::SpriteSheet s = sheet(gfx::kMenuPiece);
    ASSERT_EQ(s.cell_count(), 7);
    for (int i = 0; i < 7; ++i) {
        const auto& item = scenes::kMenuItems[static_cast<size_t>(i)];
        EXPECT_EQ(s.cell(i)->placement, (gfx::Rect{0, 0, item.width(), item.height()}))
            << "item " << i;
    }
}

TEST_F(DataPack, RectangleSheetsKeepTheirPixelsInPlace) {
    // The cover's 80 x 80 and the thumbnails' 320 x 400 are read by coordinates; the sheets must
    // still load, and the hot and plain copies of a thumbnail must differ.
    const gfx::SpriteSheet cover = sheet(gfx::kCoverPiece);
    ASSERT_TRUE(cover.has_surface());
    EXPECT_EQ(cover.surface()->width(), 80);
    EXPECT_EQ(cover.surface()->height(), 80);
    const gfx::SpriteSheet thumbs = sheet(gfx::kThumbnailPiece);
    ASSERT_TRUE(thumbs.has_surface());
    ASSERT_EQ(thumbs.surface()->width(), 320);
    ASSERT_EQ(thumbs.surface()->height(), 400);
    const gfx::Surface& t = *thumbs.surface();
    int differing = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) differing += t.pixel(x, y) != t.pixel(x, 160 + y);
    EXPECT_GT(differing, 3000);
}

TEST_F(DataPack, FontGlyphsShareALineAndFitTheLayouts) {
    const gfx::SpriteSheet font = sheet(gfx::kFontPiece);
    ASSERT_EQ(font.cell_count(), 50);
    const int height = font.cell(0)->source.height();
    EXPECT_GE(height, 16);
    EXPECT_LE(height, 24);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(font.cell(i)->placement.top, 0) << "glyph " << i << " hangs below its point";
        EXPECT_EQ(font.cell(i)->placement.left, 0) << "glyph " << i;
        EXPECT_EQ(font.cell(i)->source.height(), height) << "glyph " << i;
    }
    auto width = [&](std::string_view text) {
        int w = 0;
        for (char ch : text) w += font.cell(gfx::glyph_index(ch))->source.width();
        return w;
    };
    // Texts must end before the next item on their line, or before the screen's edge.
    struct Fit {
        std::string_view text;
        int x, right;
    };
    const Fit fits[] = {
        {"SCORE:", 450, 556}, {"RENSA:", 450, 556},
        {"88888", 556, 640},  {"SCORE:", 225, 337},
        {"88888", 337, 417},  {"(RENSA X100)", 417, 640},
        {"NORM", 357, 460},   {"RIGHT CLICK TO PLAY AGAIN", 84, 640},
        {"WWW", 240, 320},
    };
    for (const Fit& f : fits) EXPECT_LE(f.x + width(f.text), f.right) << f.text;
}

// The title's seven words are one lettering: each fits its own area, and no word's letters are
// more than a third wider than another's.
TEST(DataPackLayout, TitleItemsShareOneLetteringThatFitsEveryArea) {
    const auto fonts = assetgen::open_fonts();
    ASSERT_TRUE(fonts) << fonts.error().reason;
    const assetgen::MenuLettering lettering = assetgen::menu_lettering(*fonts);
    EXPECT_GE(lettering.size, 14.f) << "too small to read";
    float narrowest = 1e9f, widest = 0.f;
    for (size_t i = 0; i < 7; ++i) {
        const std::string_view label = assetgen::kMenuLabels[i];
        EXPECT_LE(lettering.widths[i], static_cast<float>(scenes::kMenuItems[i].width()) - 8.f)
            << label;
        const float per_letter = lettering.widths[i] / static_cast<float>(label.size());
        narrowest = std::min(narrowest, per_letter);
        widest = std::max(widest, per_letter);
    }
    EXPECT_LE(widest, narrowest * 4.f / 3.f);
}

// Every text the game draws at a fixed place on a screen with a panel, at its widest, lies
// inside the panel's inner frame; so do the screens' controls. The widths are the glyph cells
// of the font sheet in the built pack.
TEST_F(DataPack, FixedTextsAndControlsLieInsideTheirPanels) {
    const auto fonts = assetgen::open_fonts();
    ASSERT_TRUE(fonts) << fonts.error().reason;
    const std::vector<int> widths = assetgen::game_font_widths(*fonts->sans);
    const gfx::SpriteSheet font = sheet(gfx::kFontPiece);
    ASSERT_EQ(widths.size(), static_cast<size_t>(font.cell_count()));
    for (int i = 0; i < font.cell_count(); ++i)
        EXPECT_EQ(widths[static_cast<size_t>(i)], font.cell(i)->source.width()) << "glyph " << i;

    constexpr int kInset = 6;  // the panel's inner line
    auto inside = [](const gfx::Rect& box, const gfx::Rect& panel) {
        return box.left >= panel.left + kInset && box.right <= panel.right - kInset &&
               box.top >= panel.top + kInset && box.bottom <= panel.bottom - kInset;
    };
    const std::vector<assetgen::FixedText> texts = assetgen::fixed_texts(widths);
    ASSERT_GT(texts.size(), 60u);
    for (const assetgen::FixedText& t : texts) {
        const gfx::Rect panel = assetgen::text_panel(t.picture);
        EXPECT_TRUE(inside(t.box, panel))
            << '"' << t.text << "\" on picture " << t.picture << " at (" << t.box.left << ", "
            << t.box.top << ")-(" << t.box.right << ", " << t.box.bottom << ")";
    }
    // The tally's rules cross no text of the tally or of name entry.
    for (const assetgen::FixedText& t : texts) {
        if (t.picture != app::kTallyPicture) continue;
        for (int y : assetgen::kTallyRules)
            EXPECT_TRUE(t.box.bottom < y || t.box.top > y + 2) << '"' << t.text << "\" at " << y;
    }
    for (const gfx::Rect& c : scenes::kOptionControls)
        EXPECT_TRUE(inside(c, assetgen::kOptionsPanel)) << c.left << ", " << c.top;
    for (const gfx::Rect& c : scenes::kMusicControls)
        EXPECT_TRUE(inside(c, assetgen::kMusicTestPanel)) << c.left << ", " << c.top;
}

TEST_F(DataPack, ViewerScriptRunsKnownCommandsWithinRange) {
    const std::string script_bytes(files().at("vasul.spt").begin(), files().at("vasul.spt").end());
    ASSERT_LE(script_bytes.size(), viewer::kMaxScriptBytes);
    ASSERT_EQ(script_bytes.back(), '\n') << "a last line without a line feed never runs";
    platform::MemoryDataSource data;
    data.put("vasul.spt", files().at("vasul.spt"));
    viewer::Script script;
    viewer::clear_script(script);
    ASSERT_TRUE(viewer::read_script(data, "vasul.spt", script));
    ASSERT_GT(script.line_count, 10);

    const gfx::SpriteSheet captions = sheet(gfx::kScriptFontPiece);
    const gfx::SpriteSheet pictures = sheet(gfx::kIllustrationPiece);
    const std::set<std::string> numeric = {"LOAD_IMAGE1", "SHOW_IMAGE1", "SET_FRAME1",
                                           "HIDE_IMAGE2", "RESET",       "WAIT"};
    int waits = 0, texts = 0;
    for (int i = 0; i < script.line_count; ++i) {
        const auto& line = script.lines[static_cast<size_t>(i)];
        const int n = platform::parse_number(line.argument);
        SCOPED_TRACE("line " + std::to_string(i) + ": " + line.command);
        if (line.command.rfind("TEXT", 0) == 0) {
            ASSERT_EQ(line.command.size(), 5u);
            ASSERT_GE(line.command[4], '1');
            ASSERT_LE(line.command[4], '5');
            ASSERT_EQ(line.argument.size() % 4, 0u);
            int width = 0;
            for (size_t k = 0; k < line.argument.size(); k += 4) {
                const int code = platform::parse_number(line.argument.substr(k, 4));
                ASSERT_GE(code, 32);
                ASSERT_LT(code, captions.cell_count());
                width += captions.cell(code)->source.width();
            }
            EXPECT_LE(14 + width, 640) << "caption runs off the screen";
            ++texts;
            continue;
        }
        ASSERT_TRUE(numeric.count(line.command)) << "unknown command";
        if (line.command == "LOAD_IMAGE1") {
            EXPECT_EQ(n, gfx::kIllustrationPiece);
        } else if (line.command == "SHOW_IMAGE1") {
            EXPECT_TRUE(n >= 0 && n <= 3);
        } else if (line.command == "SET_FRAME1") {
            EXPECT_TRUE(n >= 0 && n < pictures.cell_count());
        }
        waits += line.command == "WAIT";
    }
    EXPECT_GE(waits, 4) << "several pages";
    EXPECT_GE(texts, 10);
}

// The pixels of one 80 x 80 cell of a puzzle picture, channel by channel.
std::vector<int> cell_samples(const gfx::Surface& picture, int cell) {
    std::vector<int> v;
    v.reserve(80 * 80 * 3);
    const int left = (cell / 6) * 80, top = (cell % 6) * 80;
    for (int y = top; y < top + 80; ++y)
        for (int x = left; x < left + 80; ++x)
            for (int shift : {16, 8, 0}) v.push_back((picture.pixel(x, y) >> shift) & 0xFF);
    return v;
}

// The spread of a cell's pixels: the root of the mean of its three channel variances.
double deviation(const std::vector<int>& samples) {
    double variance = 0;
    for (size_t channel = 0; channel < 3; ++channel) {
        double sum = 0, squares = 0;
        for (size_t i = channel; i < samples.size(); i += 3) {
            sum += samples[i];
            squares += double(samples[i]) * samples[i];
        }
        const double n = double(samples.size() / 3), mean = sum / n;
        variance += squares / n - mean * mean;
    }
    return std::sqrt(variance / 3);
}

double mean_difference(const std::vector<int>& a, const std::vector<int>& b) {
    long total = 0;
    for (size_t i = 0; i < a.size(); ++i) total += std::abs(a[i] - b[i]);
    return double(total) / double(a.size());
}

TEST_F(DataPack, EveryPuzzleCellCanBeToldByLooking) {
    // A flat cell, or two cells that look alike, can only be placed by trial and error.
    const auto& archive = files().at(gfx::kPictureArchive);
    const size_t slice = archive.size() / gfx::kPictureCount;
    for (int stage = 1; stage <= 5; ++stage) {
        auto picture =
            gfx::decode_bmp(std::span<const uint8_t>(archive).subspan(stage * slice, slice));
        ASSERT_TRUE(picture) << "picture " << stage;
        std::vector<std::vector<int>> cells;
        for (int n = 0; n < 48; ++n) {
            cells.push_back(cell_samples(*picture, n));
            EXPECT_GE(deviation(cells.back()), 12.0) << "picture " << stage << " cell " << n;
        }
        for (int a = 0; a < 48; ++a)
            for (int b = a + 1; b < 48; ++b)
                EXPECT_GE(mean_difference(cells[a], cells[b]), 8.0)
                    << "picture " << stage << " cells " << a << " and " << b;
    }
}

TEST_F(DataPack, DefaultSettingsAreWhatTheGameWritesForThem) {
    // The options set to music and effect on at step 7 and "NORM", the music test to step 7,
    // one key at a time as the game writes them.
    const auto dir = fixture::make_temp_dir("datapack-settings");
    settings::ProfileStore store(dir / "vasul.ini");
    const std::pair<const char*, const char*> keys[] = {{"music", "bgmon"}, {"music", "bgm"},
                                                        {"music", "seon"},  {"music", "se"},
                                                        {"mode", "level"},  {"sound", "vol"}};
    const char* values[] = {"1", "7", "1", "7", "1", "7"};
    for (size_t i = 0; i < std::size(keys); ++i)
        ASSERT_TRUE(store.write(keys[i].first, keys[i].second, values[i]));
    const std::string written = fixture::file_text(dir / "vasul.ini");
    std::filesystem::remove_all(dir);
    const auto& shipped = files().at(assetgen::kSettingsFile);
    EXPECT_EQ(std::string(shipped.begin(), shipped.end()), written);
}

TEST_F(DataPack, ASecondBuildGivesTheSameBytes) {
    auto art = assetgen::build_artwork({});
    ASSERT_TRUE(art) << art.error().reason;
    assetgen::PackOptions options;
    options.sounds = false;
    auto again = assetgen::build_pack(*art, options);
    ASSERT_TRUE(again) << again.error().reason;
    const Files second = as_map(*again);
    for (const auto& [path, bytes] : second) {
        ASSERT_TRUE(files().contains(path)) << path;
        EXPECT_TRUE(bytes == files().at(path)) << path;
    }
    EXPECT_TRUE(second.contains(gfx::kPictureArchive) && second.contains(gfx::kSheetArchive));
}

TEST(DataPackBuild, PicturesReplaceTheRewardsAndThumbnails) {
    const auto dir = fixture::make_temp_dir("datapack-pictures");
    // 200 x 100: its middle 133 x 100 is kept; the left and right thirds are cut away.
    std::vector<unsigned char> rgb(200 * 100 * 3);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            unsigned char* p = &rgb[(static_cast<size_t>(y) * 200 + x) * 3];
            const bool middle = x >= 40 && x < 160;
            p[0] = middle ? 200 : 0;
            p[1] = middle ? 40 : 255;
            p[2] = 30;
        }
    const auto png = dir / "red.png";
    ASSERT_TRUE(assetgen_write_png(png.string().c_str(), 200, 100, rgb.data()));

    assetgen::PackOptions options;
    options.pictures = {png};
    options.sounds = false;
    auto art = assetgen::build_artwork(options);
    ASSERT_TRUE(art) << art.error().reason;
    const gfx::Surface& reward = art->pictures[1];
    EXPECT_TRUE(near(reward.pixel(320, 240), 0xC8281Eu));
    EXPECT_TRUE(near(reward.pixel(100, 50), 0xC8281Eu)) << "cropped to the middle";
    EXPECT_FALSE(near(art->pictures[2].pixel(320, 240), 0xC8281Eu))
        << "the second reward stays generated";
    const gfx::Surface& thumbs = art->pieces[gfx::kThumbnailPiece];
    const uint32_t plain = thumbs.pixel(40, 200);
    EXPECT_GT((plain >> 16) & 0xFF, 150u);
    EXPECT_LT((plain >> 8) & 0xFF, 60u);

    auto files = assetgen::build_pack(*art, options);
    ASSERT_TRUE(files) << files.error().reason;
    const auto written = assetgen::write_pack(dir / "data", *files);
    ASSERT_TRUE(written) << written.error().reason;
    EXPECT_TRUE(std::filesystem::exists(dir / "data" / gfx::kPictureArchive));
    EXPECT_TRUE(std::filesystem::exists(dir / "data" / gfx::kSheetArchive));
    EXPECT_TRUE(std::filesystem::exists(dir / "data" / "vasul.spt"));
    std::filesystem::remove_all(dir);
}

TEST(DataPackBuild, ARebuildKeepsThePlayersSettings) {
    const auto dir = fixture::make_temp_dir("datapack-keep");
    const std::vector<assetgen::PackFile> files = {{"vasul.spt", {'A'}},
                                                   {assetgen::kSettingsFile, {'B'}, true}};
    const auto first = assetgen::write_pack(dir, files);
    ASSERT_TRUE(first) << first.error().reason;
    std::ofstream(dir / "vasul.spt") << "old";
    std::ofstream(dir / assetgen::kSettingsFile) << "[score]\nsco0=9000\n";
    const auto second = assetgen::write_pack(dir, files);
    ASSERT_TRUE(second) << second.error().reason;
    auto text = [&](const char* name) { return fixture::file_text(dir / name); };
    EXPECT_EQ(text("vasul.spt"), "A");
    EXPECT_EQ(text(assetgen::kSettingsFile), "[score]\nsco0=9000\n");
    std::filesystem::remove_all(dir);
}

// Width and height from a PNG's header chunk.
std::pair<int, int> png_size(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char head[24] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    auto be32 = [&](int at) {
        return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3];
    };
    return {be32(16), be32(20)};
}

TEST(DataPackBuild, IconsAndDefaultSettingsForAnInstall) {
    const auto dir = fixture::make_temp_dir("datapack-icons");
    std::ostringstream out, err;
    ASSERT_EQ(assetgen::run_cli(
                  {"--icons", (dir / "icons").string(), "--web-icons", (dir / "web").string(),
                   "--settings", (dir / "share/vasul.ini").string()},
                  out, err),
              0)
        << err.str();
    for (int size : assetgen::kIconSizes) {
        const std::string edge = std::to_string(size) + "x" + std::to_string(size);
        const auto file =
            dir / "icons/hicolor" / edge / "apps" / (std::string(VASUL_APP_ID) + ".png");
        EXPECT_EQ(png_size(file), std::make_pair(size, size)) << file;
    }
    for (int size : assetgen::kWebIconSizes) {
        const auto file = dir / "web" / ("icon-" + std::to_string(size) + ".png");
        EXPECT_EQ(png_size(file), std::make_pair(size, size)) << file;
    }
    EXPECT_EQ(fixture::file_text(dir / "share/vasul.ini"), assetgen::default_settings());
    std::filesystem::remove_all(dir);
}

TEST(DataPackBuild, TheIconIsAPieceOnATransparentGround) {
    const assetgen::Image lake = assetgen::paint_reward_picture(1);
    for (int size : {32, 256}) {
        const assetgen::Image icon = assetgen::paint_icon(lake, size);
        ASSERT_EQ(icon.width(), size);
        ASSERT_EQ(icon.height(), size);
        for (int corner : {0, size - 1}) {
            EXPECT_EQ(icon.alpha(corner, corner), 0.f) << size;
            EXPECT_EQ(icon.alpha(size - 1 - corner, corner), 0.f) << size;
        }
        EXPECT_FLOAT_EQ(icon.alpha(size / 2, size / 2), 1.f) << size;
        int opaque = 0, clear = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                opaque += icon.alpha(x, y) > 0.99f;
                clear += icon.alpha(x, y) < 0.01f;
            }
        // The piece fills a good part of the square, with room for its shadow around it.
        EXPECT_GT(opaque, size * size * 3 / 10) << size;
        EXPECT_GT(clear, size * size / 5) << size;
    }
}

// The window's icon ships in the pack as a BMP that keeps its transparency: the piece's
// corners clear, its middle solid, and its colours as a BMP reader sees them.
TEST_F(DataPack, TheWindowIconIsABmpWithTransparency) {
    const std::vector<uint8_t>& bmp = files().at(app::kIconFile);
    auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
                                     bmp[at + 3] << 24);
    };
    const int size = assetgen::kWindowIconSize;
    ASSERT_EQ(bmp.size(), u32(10) + static_cast<size_t>(size * size * 4));
    EXPECT_EQ(u32(66), 0xFF000000u) << "the alpha mask";
    const auto icon = gfx::decode_bmp(bmp);
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->width(), size);
    ASSERT_EQ(icon->height(), size);
    // Rows are stored bottom up.
    auto stored = [&](int x, int y) { return u32(u32(10) + ((size - 1 - y) * size + x) * 4u); };
    EXPECT_EQ(stored(0, 0) >> 24, 0u);
    EXPECT_EQ(stored(size - 1, 0) >> 24, 0u);
    EXPECT_EQ(stored(size / 2, size / 2) >> 24, 0xFFu);
    EXPECT_EQ(icon->pixel(size / 2, size / 2) & 0xFFFFFF, stored(size / 2, size / 2) & 0xFFFFFF);
}

TEST(DataPackBuild, UnreadablePictureStopsBeforeWritingAnything) {
    const auto dir = fixture::make_temp_dir("datapack-missing");
    const auto missing = dir / "no-such-picture.png";
    const auto not_an_image = dir / "notes.png";
    std::ofstream(not_an_image) << "not a picture";
    for (const auto& bad : {missing, not_an_image}) {
        std::ostringstream out, err;
        const int status = assetgen::run_cli(
            {"--out", (dir / "data").string(), "--pictures", bad.string()}, out, err);
        EXPECT_EQ(status, 1);
        EXPECT_NE(err.str().find(bad.string()), std::string::npos) << err.str();
        EXPECT_FALSE(std::filesystem::exists(dir / "data"));
    }
    std::ostringstream out, err;
    EXPECT_EQ(
        assetgen::run_cli({"--pictures", "a", "b", "c", "d", "e", "f", "g", "h", "i", "--out", "x"},
                          out, err),
        1);
    EXPECT_EQ(assetgen::run_cli({"--bogus"}, out, err), 2);
    std::filesystem::remove_all(dir);
}

// The error of a failed result; nothing when it worked.
template <class T>
std::optional<platform::Error> failure_of(const platform::Result<T>& r) {
    return r ? std::nullopt : std::optional<platform::Error>(r.error());
}

TEST(DataPackBuild, UnreadablePicturesAndFontsSayWhatIsWrong) {
    const auto dir = fixture::make_temp_dir("datapack-unreadable");
    const std::string missing = (dir / "missing.png").string();
    const std::string notes = (dir / "notes.png").string();
    const std::string folder = (dir / "folder.png").string();
    std::ofstream(notes) << "not a picture";
    std::filesystem::create_directory(folder);
    struct Case {
        std::string file;
        bool font;
        platform::ErrorKind kind;
    };
    const Case cases[] = {
        {missing, false, platform::ErrorKind::Missing},
        {notes, false, platform::ErrorKind::Invalid},
        {folder, false, platform::ErrorKind::NotAFile},
        {missing, true, platform::ErrorKind::Missing},
        {notes, true, platform::ErrorKind::Invalid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.font ? "font " : "picture ") + c.file);
        const auto error = c.font ? failure_of(assetgen::Font::open(c.file))
                                  : failure_of(assetgen::import_picture(c.file));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind, c.kind);
        EXPECT_NE(error->reason.find(c.file), std::string::npos) << error->reason;
    }
    std::filesystem::remove_all(dir);
}

TEST(PackArchives, WrongCountsAndOversizedPiecesAreRefusedWithTheirReason) {
    const std::vector<gfx::Surface> eighteen(gfx::kPictureCount - 1, gfx::Surface(8, 6));
    std::vector<gfx::Surface> twelve = fixture::sheet_pieces();
    twelve.pop_back();
    // 64 x 64 at 24 bits takes 54 + 64 * 192 = 12342 bytes; the pointer's range holds 10256.
    std::vector<gfx::Surface> big_pointer = fixture::sheet_pieces();
    big_pointer[gfx::kCursorPiece] = gfx::Surface(64, 64);
    struct Case {
        const char* name;
        std::function<platform::Result<std::vector<uint8_t>>()> build;
        platform::ErrorKind kind;
        const char* reason;
    };
    const Case cases[] = {
        {"18 pictures", [&] { return pack::build_picture_archive(eighteen); },
         platform::ErrorKind::Invalid, "the picture archive needs exactly 19 pictures"},
        {"12 pieces", [&] { return pack::build_sheet_archive(twelve); },
         platform::ErrorKind::Invalid, "the sheet archive needs exactly 13 pieces"},
        {"a pointer too large", [&] { return pack::build_sheet_archive(big_pointer); },
         platform::ErrorKind::TooLarge, "piece 12 (64 x 64) does not fit its 10256 bytes"},
        {"a BMP longer than asked",
         [] { return pack::encode_bmp_exact(gfx::Surface(64, 64), 10256); },
         platform::ErrorKind::TooLarge, "the picture needs 12342 bytes, not 10256"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto error = failure_of(c.build());
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind, c.kind);
        EXPECT_EQ(error->reason, c.reason);
    }
    const auto exact = pack::encode_bmp_exact(gfx::Surface(64, 64), 12400);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->size(), 12400u);
}

TEST(DataPackBuild, AnythingThrownInsideEndsAsAMessageAndStatusOne) {
    struct Case {
        const char* name;
        std::function<int()> step;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"a music track that does not exist",
         [] { return static_cast<int>(assetgen::compose_track_ogg(assetgen::kTrackCount).size()); },
         1, "assetgen: no such music track\n"},
        {"something that is not a std::exception", []() -> int { throw 7; }, 1,
         "assetgen: unknown error\n"},
        {"a step that returns its own status", [] { return 2; }, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream err;
        EXPECT_EQ(assetgen::run_guarded(c.step, err), c.status);
        EXPECT_EQ(err.str(), c.message);
    }
}

}  // namespace
