#include "app/game.h"

Game::Game(platform::Platform& p, std::filesystem::path dir)
    : platform(p), data_dir(std::move(dir)), profile(data_dir / "vasul.ini") {
    // The play clocks start at the program's start, not at a game's.
    const uint32_t now = platform.ticks();
    play.quarter_clock = now;
    play.second_clock = now;
}
