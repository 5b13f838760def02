#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "app/game.h"
#include "app/shell.h"
#include "platform/headless/headless_platform.h"

// A whole game on the headless backend over a fixture pack in its own temp folder, stepped
// one pass at a time like the main loop does.
class TestGame {
  public:
    // with_pack false leaves the folder empty (no archives, no sounds).
    explicit TestGame(bool with_pack = true, uint32_t tick_ms = 16);
    ~TestGame();
    TestGame(const TestGame&) = delete;
    TestGame& operator=(const TestGame&) = delete;

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
    uint64_t pass_ = 0;
    bool ended_ = false;
};
