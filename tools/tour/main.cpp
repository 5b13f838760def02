// The screen tour: plays the headless game in-process, as a player would, to every screen it
// has, and writes each screen as NAME.bmp. tools/screenshots.py keeps them as PNG in
// docs/screenshots/screens, so that a change to the art is seen on every screen at once.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "app/game.h"
#include "app/scene.h"
#include "app/shell.h"
#include "gfx/bmp.h"
#include "platform/harness.h"
#include "platform/headless/headless_platform.h"
#include "platform/messages.h"
#include "rules/state.h"
#include "scenes/title_scene.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

constexpr uint32_t kSeed = 2026;

// A fresh folder that links the pack's files and starts from the pack's vasul.ini, if it has one.
fs::path make_work_dir(const fs::path& data) {
    std::string pattern = (fs::temp_directory_path() / "vasul-tour-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    const fs::path dir = pattern;
    for (const char* name : {"image", "ogg", "wave", "vasul.spt"}) {
        std::error_code ec;
        if (fs::exists(data / name)) fs::create_symlink(fs::absolute(data / name), dir / name, ec);
    }
    std::error_code ec;
    fs::copy_file(data / "vasul.ini", dir / "vasul.ini", ec);
    return dir;
}

class Tour {
  public:
    Tour(const fs::path& dir, const fs::path& out, uint32_t tick_ms)
        : headless_(tick_ms),
          harness_(headless_, {nullptr, {}, kSeed, tick_ms, {}, 1}),
          game_(harness_, dir),
          out_(out) {
        app::start_up(game_, kSeed);
    }
    ~Tour() { app::shut_down(game_); }

    const Game& game() const { return game_; }
    bool ok() const { return ok_; }

    void step() {
        if (app::main_loop_pass(game_, pass_++).has_value()) fail("the game ended");
    }
    void steps(int n) {
        for (int i = 0; i < n && ok_; ++i) step();
    }
    void send(const Message& m) {
        harness_.post_message(m);
        step();
    }
    void move(int x, int y) { send(mouse_message(kWmMouseMove, x, y)); }
    void click(int x, int y) {
        move(x, y);
        send(mouse_message(kWmLButtonDown, x, y));
        send(mouse_message(kWmLButtonUp, x, y));
    }
    void right_click(int x, int y) { send(mouse_message(kWmRButtonDown, x, y)); }
    void key(uint32_t vk) {
        send(key_message(kWmKeyDown, vk));
        send(key_message(kWmKeyUp, vk));
    }
    // The back button that most screens have in their top left corner.
    void back() {
        click(33, 21);
        steps(5);
    }
    void title_item(int item) {
        const gfx::Rect& r = scenes::kMenuItems[static_cast<size_t>(item)];
        click(r.left + r.width() / 2, r.top + r.height() / 2);
    }
    // Checks the scene the tour expects, so that a changed game stops the tour, not its pictures.
    void expect(int scene, const char* where) {
        if (ok_ && game_.current_scene != scene)
            fail(std::string("not the expected scene at ") + where);
    }

    // Moves the pointer, lets the screen run a few frames and writes it.
    void pose(int x, int y, int frames, const std::string& name) {
        move(x, y);
        steps(frames);
        shot(name);
    }
    // Checks that a screen was reached and writes it, the pointer out of the way.
    void arrive(int scene, const std::string& name) {
        expect(scene, name.c_str());
        pose(600, 440, 5, name);
    }

    // Writes the frame last presented.
    void shot(const std::string& name) {
        if (!ok_) return;
        const std::vector<uint8_t> bytes = gfx::encode_bmp24(game_.back_buffer());
        std::ofstream file(out_ / (name + ".bmp"), std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file) fail("cannot write " + (out_ / (name + ".bmp")).string());
    }

    // Carries the topmost loose piece home in two moves and lets go on its home corner.
    void place_top_piece() {
        const rules::GameState& st = game_.state;
        const int p = st.stacking.back();
        const int gx = st.x[static_cast<size_t>(p)] + 40, gy = st.y[static_cast<size_t>(p)] + 40;
        const int hx = rules::home_x(p) + 40, hy = rules::home_y(p) + 40;
        send(mouse_message(kWmLButtonDown, gx, gy));
        send(mouse_message(kWmMouseMove, (gx + hx) / 2, (gy + hy) / 2));
        send(mouse_message(kWmMouseMove, hx, hy));
        send(mouse_message(kWmLButtonUp, hx, hy));
    }

  private:
    void fail(const std::string& why) {
        if (ok_)
            std::fprintf(stderr, "vasul_tour: %s (pass %llu)\n", why.c_str(),
                         static_cast<unsigned long long>(pass_));
        ok_ = false;
    }

    HeadlessPlatform headless_;
    Harness harness_;
    Game game_;
    fs::path out_;
    uint64_t pass_ = 0;
    bool ok_ = true;
};

// A screen reached from a title item and left with its back button.
void visit(Tour& t, int item, int scene, const char* name) {
    t.title_item(item);
    t.arrive(scene, name);
    t.back();
}

// The front end's screens, from a fresh game: nothing won yet.
void front_end(Tour& t) {
    t.steps(20);
    t.pose(600, 440, 10, "title");
    t.pose(300, 150, 2, "title-hot");

    t.title_item(1);
    t.expect(ScriptViewer, "the viewer");
    for (int page = 1; page <= 6; ++page) {
        t.pose(600, 440, 200, "how-to-play-" + std::to_string(page));
        t.click(600, 440);
    }
    t.back();

    visit(t, 2, Options, "options");
    visit(t, 3, Gallery, "gallery-locked");
    visit(t, 4, MusicTest, "music-test");
}

// A whole game: the stages, the change between them, the pause, the tally, the name entry and
// the gallery it opens, then the high scores with the new name.
void whole_game(Tour& t) {
    t.title_item(0);
    t.expect(Play, "the first stage");
    t.pose(330, 250, 120, "play-start");
    for (int stage = 1; stage <= rules::kStageCount && t.ok(); ++stage) {
        for (int n = 0; n < rules::kPieceCount && t.ok(); ++n) {
            if (stage == 1 && n == rules::kPieceCount - 1) {
                t.shot("stage-end-before");
                t.place_top_piece();
                t.shot("stage-end-drop");
                t.step();
                t.shot("stage-end-next");
                t.steps(60);
                t.shot("stage-2");
                continue;
            }
            t.place_top_piece();
            if (stage == 2 && n == 20) {
                t.steps(30);
                t.shot("play-half");
                t.key(kVkSpace);
                t.expect(Pause, "the pause");
                t.steps(5);
                t.shot("pause");
                t.right_click(320, 240);
                t.expect(Play, "the second stage again");
            }
        }
    }
    t.expect(Tally, "the tally");
    t.steps(40);
    t.shot("tally-counting");
    t.steps(1200);
    t.pose(300, 304, 2, "tally");
    t.click(300, 344);
    t.arrive(NameEntry, "name-entry");
    t.click(210, 210);                      // A
    t.pose(460, 340, 2, "name-entry-one");  // over the end mark
    t.click(220, 250);                      // I
    t.click(340, 290);                      // R
    t.pose(300, 410, 2, "name-entry-done");
    t.click(300, 410);
    t.arrive(Gallery, "gallery-won");
    t.click(80, 150);
    t.expect(PictureView, "a reward picture");
    t.steps(5);
    t.shot("picture-view");
    t.right_click(320, 240);
    t.steps(5);
    t.expect(Gallery, "the gallery again");
    t.back();
    t.title_item(5);
    t.arrive(HighScores, "high-scores");
}

// A stage left to run out, on a clock that runs fast.
void game_over(Tour& t) {
    t.steps(20);
    t.title_item(0);
    for (int i = 0; i < 5000 && t.ok() && t.game().current_scene == Play; ++i) t.step();
    t.expect(GameOver, "the game over");
    t.pose(320, 400, 5, "game-over");
}

constexpr const char* kUsage =
    "usage: vasul_tour --data DIR --out DIR\n"
    "Plays the headless game on the pack in DIR to every screen and writes each as NAME.bmp.\n";

}  // namespace

int main(int argc, char** argv) {
    fs::path data, out;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view arg = argv[i];
        if (arg == "--data") data = argv[i + 1];
        if (arg == "--out") out = argv[i + 1];
    }
    if (data.empty() || out.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::error_code ec;
    fs::create_directories(out, ec);
    bool ok = true;
    for (int part = 0; part < 2; ++part) {
        const fs::path dir = make_work_dir(data);
        {
            Tour t(dir, out, part == 0 ? 16 : 1000);
            if (part == 0) {
                front_end(t);
                whole_game(t);
            } else {
                game_over(t);
            }
            ok = ok && t.ok();
        }
        fs::remove_all(dir, ec);
    }
    return ok ? 0 : 1;
}
