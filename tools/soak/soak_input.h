#pragma once
#include <cstdint>
#include <deque>
#include <random>

#include "platform/headless/headless_platform.h"

namespace soak {

// Seeded random input as a restless player gives it: pointer moves, clicks, drags, double
// clicks, the right button, keys (never Escape, which would end the run) and clock jumps,
// the wrap of the 32-bit clock among them. Gestures go out one message a pass, with pauses
// between them, so the queue never grows. The run opens with a tour of every scene the title
// leads to, so that the pictures' high-water mark comes early and a longer run's peak can
// only differ by growth.
class SoakInput {
  public:
    explicit SoakInput(uint32_t seed);

    // Called before each pass: posts the gesture's next message, jumps the clock, or waits.
    void step(platform::HeadlessPlatform& platform);

  private:
    int below(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }
    void tour();
    void click_centre(const gfx::Rect& area);
    void wait(int passes);
    void start_gesture();
    void jump_clock(platform::HeadlessPlatform& platform);
    void point(int& x, int& y);
    void press(uint32_t id, int x, int y);
    void click(int x, int y);
    void drag();
    void key();

    std::mt19937 random_;
    std::deque<platform::Message> pending_;
    int idle_ = 0;
    int x_ = 320;
    int y_ = 240;
};

}  // namespace soak
