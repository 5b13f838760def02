#include "support/test_game.h"

#include <fstream>

#include "support/fixture_pack.h"

namespace {

std::shared_ptr<platform::MemoryDataSource> memory_pack(TestGame::Pack pack) {
    if (pack == TestGame::Pack::OnDisk) return nullptr;
    if (pack == TestGame::Pack::None) return std::make_shared<platform::MemoryDataSource>();
    return std::make_shared<platform::MemoryDataSource>(fixture::pack_files());
}

}  // namespace

TestGame::TestGame(Pack pack, uint32_t tick_ms)
    : dir(fixture::make_temp_dir("game")), platform(tick_ms), memory_(memory_pack(pack)) {
    if (memory_) {
        game = std::make_unique<Game>(platform, memory_, dir / "vasul.ini");
        return;
    }
    fixture::write_pack(dir);
    fixture::write_sounds(dir);
    game = std::make_unique<Game>(platform, dir);
}

TestGame::~TestGame() {
    game.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void TestGame::put_file(const std::string& name, std::string_view bytes) {
    if (memory_) {
        memory_->put(name, {bytes.begin(), bytes.end()});
        return;
    }
    std::ofstream(dir / name, std::ios::binary | std::ios::trunc) << bytes;
}

void TestGame::remove_file(const std::string& name) {
    if (memory_) {
        memory_->remove(name);
        return;
    }
    std::filesystem::remove(dir / name);
}

void TestGame::start(uint32_t seed, bool sound_on) {
    if (sound_on) {
        std::ofstream ini(dir / "vasul.ini", std::ios::binary | std::ios::app);
        ini << "[music]\nbgmon=1\nseon=1\nbgm=9\nse=9\n";
        ini.close();
        game->profile.poll();
    }
    app::start_up(*game, seed);
}

bool TestGame::pass() {
    if (ended_) return false;
    if (app::main_loop_pass(*game, pass_++)) ended_ = true;
    return !ended_;
}

void TestGame::passes(int n) {
    for (int i = 0; i < n; ++i) pass();
}

void TestGame::send(const platform::Message& m) {
    post(m);
    pass();
}

void TestGame::move(int x, int y) {
    send(platform::mouse_message(platform::kWmMouseMove, x, y));
}

void TestGame::click(int x, int y) {
    move(x, y);
    send(platform::mouse_message(platform::kWmLButtonDown, x, y));
    send(platform::mouse_message(platform::kWmLButtonUp, x, y));
}

void TestGame::right_click(int x, int y) {
    move(x, y);
    send(platform::mouse_message(platform::kWmRButtonDown, x, y));
}

void TestGame::key(uint32_t vk) {
    send(platform::key_message(platform::kWmKeyDown, vk));
    send(platform::key_message(platform::kWmKeyUp, vk));
}
