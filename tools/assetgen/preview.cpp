#include <algorithm>

#include "assetgen/pack_builder.h"
#include "assetgen/stb_io.h"
#include "gfx/sprite_sheet.h"
#include "platform/log.h"

namespace assetgen {

namespace {

const char* const kPieceNames[] = {"menu",          "switches",   "arrows",      "marks",
                                   "cover",         "thumbnails", "back",        "caption-panel",
                                   "illustrations", "font",       "script-font", "stage-numbers",
                                   "cursor"};

platform::Result<void> write_png(const std::filesystem::path& path, const gfx::Surface& s,
                                 int scale) {
    const int w = s.width() * scale, h = s.height() * scale;
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = s.pixel(x / scale, y / scale);
            unsigned char* o = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            o[0] = static_cast<unsigned char>(p >> 16);
            o[1] = static_cast<unsigned char>(p >> 8);
            o[2] = static_cast<unsigned char>(p);
        }
    if (!assetgen_write_png(path.string().c_str(), w, h, rgb.data()))
        return platform::fail(platform::ErrorKind::Failed, "cannot write " + path.string());
    return {};
}

void outline(gfx::Surface& s, const gfx::Rect& r, uint32_t colour) {
    auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < s.width() && y < s.height()) s.set_pixel(x, y, colour);
    };
    for (int x = r.left - 1; x <= r.right; ++x) {
        put(x, r.top - 1);
        put(x, r.bottom);
    }
    for (int y = r.top - 1; y <= r.bottom; ++y) {
        put(r.left - 1, y);
        put(r.right, y);
    }
}

// The sheet as the game sees it: transparent pixels as a checkerboard, each cell framed in
// cyan with its anchor in red; sheets drawn by rectangles show their 80-pixel tiles.
gfx::Surface sheet_view(int piece, const gfx::Surface& sheet) {
    gfx::Surface s = sheet;
    const uint32_t key = sheet.pixel(sheet.width() - 1, 0) & 0xFFFFFFu;
    const auto cells = gfx::scan_marked_cells(sheet);
    const bool by_rectangles = piece == 4 || piece == 5;
    if (!by_rectangles) {
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if ((s.pixel(x, y) & 0xFFFFFFu) == key)
                    s.set_pixel(x, y, ((x / 4 + y / 4) % 2) ? 0x9A9A9Au : 0x6A6A6Au);
    }
    if (by_rectangles) {
        for (int y = 0; y + 80 <= s.height(); y += 80)
            for (int x = 0; x + 80 <= s.width(); x += 80)
                outline(s, {x + 1, y + 1, x + 79, y + 79}, 0x00FFFFu);
    } else if (cells) {
        for (const auto& c : *cells) outline(s, c.source, 0x00FFFFu);
        for (const auto& c : *cells)
            if (c.anchor.x >= 0 && c.anchor.y >= 0 && c.anchor.x < s.width() &&
                c.anchor.y < s.height())
                s.set_pixel(c.anchor.x, c.anchor.y, 0xFF0000u);
    }
    return s;
}

// The screens as the game composes them, from the pack's own sheets and the game's own
// drawing, to check that backgrounds leave room where each scene draws.
struct Mockups {
    const Artwork& art;
    gfx::SpriteSheet font, cursor, back, switches, arrows, stage, marks, cover, thumbs, menu, panel,
        captions, pictures8;

    explicit Mockups(const Artwork& a) : art(a) {
        // A piece that does not load is left empty and said so; the other mockups still help.
        auto load = [&](gfx::SpriteSheet& s, int p) {
            const auto loaded = s.load_sheet(a.pieces[static_cast<size_t>(p)]);
            if (!loaded) platform::warn("piece " + loaded.error().reason);
        };
        load(font, 9), load(cursor, 12), load(back, 6), load(switches, 1), load(arrows, 2);
        load(stage, 11), load(marks, 3), load(cover, 4), load(thumbs, 5), load(menu, 0);
        load(panel, 7), load(captions, 10), load(pictures8, 8);
    }
    gfx::Surface screen(int n) const { return art.pictures[static_cast<size_t>(n)]; }
    void text(gfx::Surface& s, int x, int y, const char* t) const {
        font.draw_text(s, x, y, t, true);
    }

    gfx::Surface title() {
        gfx::Surface s = screen(0);
        menu.draw_cell(s, 246, 290, 4, true);
        cursor.draw_cell(s, 300, 310, 0, true);
        return s;
    }
    gfx::Surface play() {
        gfx::Surface s = screen(9);
        const int mark_cells[4][2] = {{80, 160}, {240, 0}, {400, 320}, {560, 240}};
        for (int i = 0; i < 4; ++i) marks.draw_cell(s, mark_cells[i][0], mark_cells[i][1], i, true);
        gfx::SpriteSheet tiles;
        tiles.load_picture(screen(1));
        tiles.make_tile_grid();
        for (int n = 0; n < 18; ++n) tiles.draw_cell(s, (n / 6) * 80, (n % 6) * 80, n, false);
        cover.blit_region(s, 80, 80, 0, 0, 80, 80);
        for (int n = 30; n < 40; ++n)
            tiles.draw_cell(s, 250 + (n % 5) * 70, 120 + (n / 5 - 6) * 90, n, false);
        text(s, 450, 4, "SCORE:"), text(s, 556, 4, "01234");
        text(s, 450, 29, "TIME:"), text(s, 556, 29, "00587");
        text(s, 450, 54, "RENSA:"), text(s, 556, 54, "00003");
        text(s, 225 - 20, 225, "+"), text(s, 225, 225, "75");
        text(s, 4, 452, "60");
        stage.draw_cell(s, 320, 440, 1, true);
        cursor.draw_cell(s, 330, 260, 1, true);
        return s;
    }
    gfx::Surface options() {
        gfx::Surface s = screen(11);
        back.draw_cell(s, 10, 10, 0, true);
        const int rows[] = {110, 156, 202, 248, 294, 340};
        const char* labels[] = {"BGM:", "VOL:", "SE:", "VOL:", "FPS:", "LVL:"};
        for (int r = 0; r < 6; ++r) {
            text(s, 240, rows[r], labels[r]);
            if (r == 0 || r == 2 || r == 4) {
                switches.draw_cell(s, 341, rows[r], r == 2 ? 2 : 0, true);
            } else {
                arrows.draw_cell(s, 327, rows[r], r == 3 ? 1 : 0, true);
                text(s, 357, rows[r], r == 5 ? "NORM" : "7");
                arrows.draw_cell(s, r == 5 ? 460 : 380, rows[r], 2, true);
            }
        }
        cursor.draw_cell(s, 335, 255, 0, true);
        return s;
    }
    gfx::Surface viewer_page() {
        gfx::Surface s = screen(10);
        pictures8.draw_cell(s, 100, 100, 0, true);
        back.draw_cell(s, 10, 10, 1, true);
        panel.draw_cell(s, 0, 328, 0, true);
        int line = 0;
        size_t at = 0;
        while (line < 5 && (at = art.script.find("TEXT", at)) != std::string::npos) {
            const size_t space = art.script.find(' ', at), end = art.script.find('\n', at);
            captions.draw_code_text(s, 14, 340 + 23 * line++,
                                    art.script.substr(space + 1, end - space - 1), true);
            at = end;
            if (art.script.compare(end + 1, 4, "WAIT") == 0) break;
        }
        cursor.draw_cell(s, 500, 200, 2, true);
        return s;
    }
    gfx::Surface gallery() {
        gfx::Surface s = screen(12);
        back.draw_cell(s, 10, 10, 0, true);
        for (int k = 0; k < 8; ++k) {
            const int i = k % 4, j = k / 4;
            const bool open = k < 3, hot = k == 1;
            thumbs.blit_region(s, 40 + 160 * i, 110 + 160 * j, open ? 80 * i : 0,
                               open ? (hot ? 80 * j : 160 + 80 * j) : 320, 80, 80);
        }
        cursor.draw_cell(s, 250, 150, 0, true);
        return s;
    }
    gfx::Surface tally() {
        gfx::Surface s = screen(14);
        text(s, 225, 178, "SCORE:"), text(s, 337, 178, "23456");
        text(s, 225, 203, "BONUS:"), text(s, 337, 203, "03450"), text(s, 417, 203, "(TIME X 10)");
        text(s, 225, 228, "RENSA:"), text(s, 337, 228, "00700"), text(s, 417, 228, "(RENSA X100)");
        text(s, 225, 253, "TOTAL:"), text(s, 337, 253, "27606");
        text(s, 205, 293, "ENTER GALLERY"), text(s, 195, 333, "RECORD HISCORE");
        return s;
    }
    gfx::Surface name_entry() {
        gfx::Surface s = screen(14);
        for (int b = 0; b < 26; ++b) {
            const char letter[2] = {static_cast<char>('A' + b), 0};
            text(s, 200 + 40 * (b % 7), 200 + 40 * (b / 7), letter);
        }
        font.draw_glyph(s, 280, 120, 'A', true), font.draw_glyph(s, 320, 120, 'W', true);
        font.draw_glyph(s, 360, 120, '-', true);
        text(s, 200, 400, "ENTER GALLERY");
        return s;
    }
    gfx::Surface high_scores() {
        gfx::Surface s = screen(13);
        back.draw_cell(s, 10, 10, 0, true);
        for (int i = 0; i < 10; ++i)
            text(s, 240, 110 + 30 * i, i == 0 ? "WWW" : "AAA"), text(s, 320, 110 + 30 * i, "00500");
        return s;
    }
    gfx::Surface game_over() {
        gfx::Surface s = screen(15);
        back.draw_cell(s, 10, 10, 0, true);
        text(s, 84, 230, "RIGHT CLICK TO PLAY AGAIN");
        return s;
    }
    gfx::Surface pause() {
        gfx::Surface s = screen(16);
        back.draw_cell(s, 10, 10, 0, true);
        text(s, 134, 200, "PRESS SPACE KEY OR");
        text(s, 84, 230, "RIGHT CLICK TO CONTINUE");
        return s;
    }
    gfx::Surface music_test() {
        gfx::Surface s = screen(17);
        back.draw_cell(s, 10, 10, 0, true);
        arrows.draw_cell(s, 120, 110, 0, true), stage.draw_cell(s, 160, 110, 3, true),
            arrows.draw_cell(s, 497, 110, 3, true);
        text(s, 240, 156, "PLAY:"), switches.draw_cell(s, 341, 156, 1, true);
        text(s, 240, 202, "LOOP:"), switches.draw_cell(s, 341, 202, 2, true);
        text(s, 240, 248, "VOL:"), arrows.draw_cell(s, 327, 248, 0, true), text(s, 357, 248, "9");
        arrows.draw_cell(s, 380, 248, 2, true);
        return s;
    }
};

}  // namespace

platform::Result<void> write_previews(const std::filesystem::path& dir, const Artwork& art) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    char name[64];
    for (size_t n = 0; n < art.pictures.size(); ++n) {
        std::snprintf(name, sizeof name, "picture-%02zu.png", n);
        auto written = write_png(dir / name, art.pictures[n], 1);
        if (!written) return written;
    }
    for (size_t p = 0; p < art.pieces.size(); ++p) {
        const gfx::Surface view = sheet_view(static_cast<int>(p), art.pieces[p]);
        const int scale = std::clamp(640 / std::max(view.width(), 1), 1, 6);
        std::snprintf(name, sizeof name, "piece-%02zu-%s.png", p, kPieceNames[p]);
        auto written = write_png(dir / name, view, scale);
        if (!written) return written;
    }
    Mockups m(art);
    const std::pair<const char*, gfx::Surface> scenes[] = {
        {"scene-title.png", m.title()},           {"scene-play.png", m.play()},
        {"scene-options.png", m.options()},       {"scene-viewer.png", m.viewer_page()},
        {"scene-gallery.png", m.gallery()},       {"scene-tally.png", m.tally()},
        {"scene-name-entry.png", m.name_entry()}, {"scene-high-scores.png", m.high_scores()},
        {"scene-game-over.png", m.game_over()},   {"scene-pause.png", m.pause()},
        {"scene-music-test.png", m.music_test()},
    };
    for (const auto& [file, surface] : scenes) {
        auto written = write_png(dir / file, surface, 1);
        if (!written) return written;
    }
    return {};
}

}  // namespace assetgen
