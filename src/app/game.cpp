#include "app/game.h"

#include "pictures/picture_folder.h"

Game::Game(platform::Platform& p, const std::filesystem::path& dir)
    : Game(p, std::make_shared<platform::FileDataSource>(dir), dir / "vasul.ini") {}

Game::Game(platform::Platform& p, std::shared_ptr<const platform::DataSource> source,
           const std::filesystem::path& settings_file)
    : platform(p), data(std::move(source)), profile(settings_file) {
    // The play clocks start at the program's start, not at a game's.
    const uint32_t now = platform.ticks();
    play.quarter_clock = now;
    play.second_clock = now;
}

std::filesystem::path Game::picture_folder() const {
    return pictures::picture_folder(profile.path());
}
