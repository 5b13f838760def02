// The high-score display reads its ten rows from the settings file in every frame; its whole
// frame should cost little more than the title's.
#include <benchmark/benchmark.h>

#include "app/game.h"
#include "app/shell.h"
#include "scenes/title_scene.h"
#include "support/test_game.h"

namespace {

void click_title_item(TestGame& t, int item) {
    const gfx::Rect& m = scenes::kMenuItems[static_cast<size_t>(item)];
    t.click(m.left + 54, m.top + 10);
}

void run_frames(benchmark::State& state, TestGame& t) {
    for (auto _ : state) {
        app::frame_tick(*t.game);
        benchmark::DoNotOptimize(t.game->back_buffer().pixels().data());
        benchmark::ClobberMemory();
    }
}

}  // namespace

static void BM_TitleFrame(benchmark::State& state) {
    TestGame t;
    t.start();
    t.move(300, 150);  // one item highlighted
    run_frames(state, t);
}
BENCHMARK(BM_TitleFrame);

// One whole frame of the display on the default table, its twenty table reads included.
static void BM_HighScoreFrame(benchmark::State& state) {
    TestGame t;
    t.start();
    click_title_item(t, 5);
    if (t.game->current_scene != HighScores) state.SkipWithError("not on the high-score display");
    t.move(300, 150);
    run_frames(state, t);
}
BENCHMARK(BM_HighScoreFrame);
