#pragma once
#include <cstdint>

namespace platform {

// Keeps the game at 60 frames a second whether or not presenting waits for the display. Some
// drivers accept vsync and then don't wait: the first presents tell, and from then on the
// pacer keeps the pace itself, as it does from the start for a display that never waits.
class FramePacer {
  public:
    // Presents never wait (no vsync, or a window the picture is copied into).
    void pace_always() { self_paced_ = true; }
    static FramePacer always() {
        FramePacer pacer;
        pacer.pace_always();
        return pacer;
    }
    // After each frame shown, with the clock now in ticks of `rate` a second: how many ticks
    // to wait before the next frame; 0 while the display sets the pace.
    uint64_t after_present(uint64_t now, uint64_t rate);

  private:
    bool self_paced_ = false;
    int probe_frames_ = 0;
    uint64_t probe_start_ = 0;
    uint64_t next_frame_ = 0;  // the next frame's due time
};

}  // namespace platform
