#include <emscripten.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/backend.h"
#include "platform/web/web_bridge.h"

namespace platform {

namespace {

constexpr double kPassMs = 1000.0 / 60.0;
// After a stall (a busy page, a tab brought back) the game goes on from where it is instead of
// rushing through the passes it missed.
constexpr int kMostPassesPerFrame = 4;

struct PageLoop {
    LoopPass pass;
    LoopFinish finish;
    uint64_t next = 0;
    double last_ms = 0;
    double owed_ms = 0;
};

// One animation frame: as many passes as the time since the last frame asks for, 60 a second
// whatever the display's rate. A frame a little early still runs its pass.
void run_frame(void* arg) {
    PageLoop& loop = *static_cast<PageLoop*>(arg);
    const double now = emscripten_get_now();
    loop.owed_ms = std::clamp(loop.owed_ms + (now - loop.last_ms), -kPassMs,
                              2 * kPassMs * kMostPassesPerFrame);
    loop.last_ms = now;
    for (int n = 0; n < kMostPassesPerFrame && loop.owed_ms >= kPassMs * 0.75; ++n) {
        loop.owed_ms -= kPassMs;
        if (const std::optional<int> code = loop.pass(loop.next++)) {
            emscripten_cancel_main_loop();
            vasul_web_after_passes(static_cast<double>(loop.next));
            vasul_web_ended(loop.finish(*code));
            return;
        }
    }
    loop.owed_ms = std::min(loop.owed_ms, kPassMs);
    vasul_web_after_passes(static_cast<double>(loop.next));
}

}  // namespace

int run_loop(LoopPass pass, LoopFinish finish) {
    // The loop lives as long as the page: main returns, and the frames go on.
    auto* loop = new PageLoop{std::move(pass), std::move(finish)};
    loop->last_ms = emscripten_get_now() - kPassMs;
    emscripten_set_main_loop_arg(run_frame, loop, 0, false);
    return 0;
}

}  // namespace platform
