// The viewer script: any file as vasul.spt, read and run page by page in the viewer of a
// whole game on the headless backend, each page drawn as a frame.
//
// The game reads a small pack held in memory, built once per process: the tests' sheets, with
// pieces 0 to 8 replaced by sheets of a few small cells, and pictures of 8 x 6. Once the game
// has started, the sheet archive is cut short before piece 8: a script can load pieces 0 to 7,
// while 8 to 12 are missing and load nothing. Decoding large sheets, copying the 3.7 MB range
// of piece 8 for every LOAD_IMAGE line, or a whole background each frame, would make every
// input cost milliseconds.
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "app/game.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "fuzz/fuzz_support.h"
#include "gfx/archive.h"
#include "packwriter/packwriter.h"
#include "platform/data_source.h"
#include "platform/headless/headless_platform.h"
#include "scenes/viewer_scene.h"
#include "support/fixture_pack.h"
#include "viewer/script.h"

namespace {

constexpr int kDrawnPages = 4;

// Six cells of different sizes with different anchors, in two rows.
gfx::Surface small_sheet(int piece) {
    std::vector<std::vector<pack::SheetCell>> rows(2);
    for (int i = 0; i < 6; ++i) {
        rows[static_cast<size_t>(i / 3)].push_back(
            {gfx::Surface(4 + 3 * i, 3 + 2 * i, fixture::cell_colour(piece, i)), {i % 3, 1}});
    }
    return pack::compose_sheet(rows);
}

std::vector<uint8_t> small_picture_archive() {
    std::vector<gfx::Surface> pictures;
    for (int n = 0; n < gfx::kPictureCount; ++n) {
        pictures.emplace_back(8, 6, fixture::picture_pixel(n, 0, 0));
    }
    auto archive = pack::build_picture_archive(pictures);
    if (!archive) throw std::runtime_error("cannot build the picture archive");
    return std::move(*archive);
}

std::vector<uint8_t> small_sheet_archive() {
    std::vector<gfx::Surface> pieces = fixture::sheet_pieces();
    for (int p = 0; p <= gfx::kIllustrationPiece; ++p) {
        if (p != gfx::kBackButtonPiece) pieces[static_cast<size_t>(p)] = small_sheet(p);
    }
    auto archive = pack::build_sheet_archive(pieces);
    if (!archive) throw std::runtime_error("cannot build the sheet archive");
    return std::move(*archive);
}

struct Rig {
    platform::HeadlessPlatform platform;
    std::shared_ptr<platform::MemoryDataSource> pack =
        std::make_shared<platform::MemoryDataSource>(fixture::pack_files());
    std::unique_ptr<Game> game;
    Rig() {
        std::vector<uint8_t> sheets = small_sheet_archive();
        pack->put(gfx::kPictureArchive, small_picture_archive());
        pack->put(gfx::kSheetArchive, sheets);
        game = std::make_unique<Game>(platform, pack, fuzz::scratch_dir());
        app::start_up(*game, 1);
        viewer::enter_viewer(*game);
        game->current_scene = ScriptViewer;
        sheets.resize(gfx::kPieceTable[gfx::kIllustrationPiece].first);
        pack->put(gfx::kSheetArchive, std::move(sheets));
    }
};

Rig& rig() {
    static Rig r;
    return r;
}

// The lines the file holds: each one ended by a line feed within the first 4095 bytes, at
// most 150, split at its last space unless that is its first byte.
void check_lines(std::string_view file, const viewer::Script& script) {
    file = file.substr(0, viewer::kMaxScriptBytes);
    int count = 0;
    for (size_t start = 0, lf; (lf = file.find('\n', start)) != std::string_view::npos;
         start = lf + 1) {
        if (count == viewer::kMaxScriptLines) break;
        const std::string_view line = file.substr(start, lf - start);
        const viewer::ScriptLine& stored = script.lines[static_cast<size_t>(count++)];
        const size_t space = line.rfind(' ');
        if (space == std::string_view::npos || space == 0) {
            FUZZ_CHECK(stored.command.empty() && stored.argument.empty());
        } else {
            FUZZ_CHECK(stored.command == line.substr(0, space));
            FUZZ_CHECK(stored.argument == line.substr(space + 1));
        }
    }
    FUZZ_CHECK(script.line_count == count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Rig& r = rig();
    Game& game = *r.game;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    r.pack->put(viewer::kScriptFile, std::vector<uint8_t>(data, data + size));

    // Each input starts from an empty viewer, as at the first visit.
    game.viewer = viewer::ViewerState{};
    game.script.resume_line = 0;
    viewer::clear_script(game.script);
    viewer::read_script(*game.data, viewer::kScriptFile, game.script);
    check_lines(file, game.script);
    viewer::run_script(
        game.script, game.viewer,
        [&game](gfx::SpriteSheet& sheet, int piece) { app::load_piece(game, sheet, piece); }, 0);
    viewer::viewer_update(game);

    // A click in the picture runs the next page; every page moves on by at least one line.
    // The first pages are drawn, then only the last: a frame costs more than a page.
    const platform::Message click = platform::mouse_message(platform::kWmLButtonDown, 320, 200);
    int pages = 0;
    while (game.script.resume_line != 0) {
        FUZZ_CHECK(game.script.resume_line <= game.script.line_count);
        FUZZ_CHECK(++pages <= game.script.line_count);
        game.back_button_hot = 0;
        viewer::viewer_handle(game, click);
        if (pages < kDrawnPages) viewer::viewer_update(game);
    }
    if (pages >= kDrawnPages) viewer::viewer_update(game);
    FUZZ_CHECK(game.current_scene == ScriptViewer && game.quit_requested == 0);
    return 0;
}
