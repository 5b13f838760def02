#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "app/game.h"
#include "app/shell.h"
#include "platform/headless/headless_platform.h"
#include "puzzle/play_scene.h"
#include "rules/state.h"
#include "support/fixture_pack.h"

namespace {

// A game in its first stage over the fixture pack: 48 loose pieces, four marks, the cover,
// four live pop-ups and the stage number, with the clock standing still so nothing expires.
class PlayBench {
  public:
    PlayBench() : dir_(fixture::make_temp_dir("bench-play")), platform_(0) {
        fixture::write_pack(dir_);
        fixture::write_sounds(dir_);
        game_ = std::make_unique<Game>(platform_, dir_);
        app::start_up(*game_, 7);
        puzzle::start_game(*game_);
        for (int i = 0; i < rules::kPopupCount; ++i) {
            game_->state.popups[static_cast<size_t>(i)] = {true, 5, 1234, 75 * (i + 2), 75 * i};
        }
        game_->state.score = 12345;
        game_->state.max_chain = 12;
    }
    ~PlayBench() {
        game_.reset();
        std::filesystem::remove_all(dir_);
    }
    Game& game() { return *game_; }

  private:
    std::filesystem::path dir_;
    platform::HeadlessPlatform platform_;
    std::unique_ptr<Game> game_;
};

}  // namespace

static void BM_MemcpyTwoFrames(benchmark::State& state) {
    std::vector<uint32_t> a(2 * 640 * 480, 1), b(2 * 640 * 480);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyTwoFrames);

static void BM_PlayFrame(benchmark::State& state) {
    PlayBench bench;
    Game& game = bench.game();
    for (auto _ : state) {
        puzzle::play_update(game);
        benchmark::DoNotOptimize(game.back_buffer().pixels().data());
        benchmark::ClobberMemory();
    }
    if (game.current_scene != Play || game.state.stage != 1) state.SkipWithError("left play");
}
BENCHMARK(BM_PlayFrame);

static void BM_BeginStage(benchmark::State& state) {
    PlayBench bench;
    Game& game = bench.game();
    for (auto _ : state) {
        game.state.stage = 0;
        puzzle::begin_stage(game);
        benchmark::DoNotOptimize(game.state.x.data());
    }
    if (!game.sheets.screen_picture.has_surface()) state.SkipWithError("no stage picture");
}
BENCHMARK(BM_BeginStage);
