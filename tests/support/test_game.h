#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "app/game.h"
#include "app/shell.h"
#include "platform/data_source.h"
#include "platform/headless/headless_platform.h"

// A whole game on the headless backend, stepped one pass at a time like the main loop does.
// It keeps vasul.ini in a temp folder of its own.
class TestGame {
  public:
    enum class Pack {
        Shared,  // the fixture pack in memory, built once per test process
        OnDisk,  // the fixture pack written into dir, for tests that change its files on disk
        None,    // no archives, no sounds
    };

    explicit TestGame(Pack pack, uint32_t tick_ms = 16);
    // with_pack false: Pack::None.
    explicit TestGame(bool with_pack = true, uint32_t tick_ms = 16)
        : TestGame(with_pack ? Pack::Shared : Pack::None, tick_ms) {}
    ~TestGame();
    TestGame(const TestGame&) = delete;
    TestGame& operator=(const TestGame&) = delete;

    // Adds or replaces a data file of this game only ("vasul.spt"), or removes one.
    void put_file(const std::string& name, std::string_view bytes);
    void remove_file(const std::string& name);

    // Runs start-up with a fixed seed; music and effects are switched on in vasul.ini first
    // when sound_on is set.
    void start(uint32_t seed = 1, bool sound_on = false);
    // Runs one pass of the main loop; false once the loop ended on kWmQuit.
    bool pass();
    void passes(int n);
    void post(const platform::Message& m) { platform.post_message(m); }
    // Posts the message and runs the pass that takes it.
    void send(const platform::Message& m);
    void move(int x, int y);
    void click(int x, int y);  // move, left press, left release; one pass each
    void right_click(int x, int y);
    void key(uint32_t vk);  // key down and up
    bool ended() const { return ended_; }
    uint64_t pass_number() const { return pass_; }
    uint32_t pixel(int x, int y) { return game->back_buffer().pixel(x, y) & 0xFFFFFFu; }

    std::filesystem::path dir;
    platform::HeadlessPlatform platform;
    std::unique_ptr<Game> game;

  private:
    // The files the game reads, unless they lie on disk in dir.
    std::shared_ptr<platform::MemoryDataSource> memory_;
    uint64_t pass_ = 0;
    bool ended_ = false;
};
