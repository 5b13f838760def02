#include <benchmark/benchmark.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/game.h"
#include "photo.h"
#include "platform/headless/headless_platform.h"
#include "play_setup.h"
#include "scenes/play_scene.h"
#include "support/fixture_pack.h"

namespace {

// A game in its first stage (bench::set_up_play) over the pack in a folder of its own, which
// it removes when done. By default the fixture pack.
class PlayBench {
  public:
    PlayBench() : PlayBench(fixture::make_temp_dir("bench-play"), true) {}
    // A folder that already holds a pack, such as fixture::make_data_folder gives.
    explicit PlayBench(std::filesystem::path dir) : PlayBench(std::move(dir), false) {}
    ~PlayBench() {
        game_.reset();
        std::filesystem::remove_all(dir_);
    }
    Game& game() { return *game_; }

  private:
    PlayBench(std::filesystem::path dir, bool write_fixture) : dir_(std::move(dir)), platform_(0) {
        if (write_fixture) {
            fixture::write_pack(dir_);
            fixture::write_sounds(dir_);
        }
        game_ = std::make_unique<Game>(platform_, dir_);
        bench::set_up_play(*game_);
    }

    std::filesystem::path dir_;
    platform::HeadlessPlatform platform_;
    std::unique_ptr<Game> game_;
};

// The pack the wasm play benchmark and its native baseline share: the generated one when the
// build has drawn it, as the player sees it, else the fixture pack.
std::filesystem::path play_pack_folder() {
    return fixture::make_data_folder("bench-play-pack", VASUL_DATA_DIR);
}

// Runs the node play benchmark over a data folder. The nanoseconds per pass it printed, or
// nothing with the reason in *why.
std::optional<double> wasm_play_pass_ns(const std::filesystem::path& dir, int passes,
                                        std::string* why) {
    const std::string command = "node '" + std::string(VASUL_WEB_BENCH_PLAY) + "' '" +
                                dir.string() + "' " + std::to_string(passes) + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        *why = "could not start node";
        return std::nullopt;
    }
    std::string output;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe)) output += chunk;
    const int status = ::pclose(pipe);
    while (!output.empty() && std::isspace(static_cast<unsigned char>(output.back())))
        output.pop_back();
    // The figure is the last line; anything before it is node's own.
    const size_t newline = output.find_last_of('\n');
    const char* figure = output.c_str() + (newline == std::string::npos ? 0 : newline + 1);
    char* end = nullptr;
    const double ns = std::strtod(figure, &end);
    if (status != 0 || end == figure || !(ns > 0)) {
        *why = "`" + command + "` failed (is node installed?): " + output;
        return std::nullopt;
    }
    return ns;
}

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

// Times the play scene's passes of the bench's game.
static void run_play_frames(benchmark::State& state, PlayBench& bench) {
    Game& game = bench.game();
    for (auto _ : state) {
        puzzle::play_update(game);
        benchmark::DoNotOptimize(game.back_buffer().pixels().data());
        benchmark::ClobberMemory();
    }
    if (!bench::still_in_first_stage(game)) state.SkipWithError("left play");
}

static void BM_PlayFrame(benchmark::State& state) {
    PlayBench bench;
    run_play_frames(state, bench);
}
BENCHMARK(BM_PlayFrame);

// The same passes as BM_PlayFrameWasm, natively: its baseline.
static void BM_PlayFrameNative(benchmark::State& state) {
    PlayBench bench(play_pack_folder());
    run_play_frames(state, bench);
}
BENCHMARK(BM_PlayFrameNative);

// The play pass in wasm under node, as the browser build runs it: each iteration is one run of
// the node program over the same pack as BM_PlayFrameNative, and its time is the wasm's time
// per pass as the program measures it, so that node's start-up and the wasm's compiling stay
// out.
static void BM_PlayFrameWasm(benchmark::State& state) {
    if (!std::filesystem::exists(VASUL_WEB_BENCH_PLAY)) {
        state.SkipWithError("no " VASUL_WEB_BENCH_PLAY
                            ": build the web build's vasul-bench-play "
                            "(cmake --preset web && cmake --build --preset web)");
        return;
    }
    const std::filesystem::path dir = play_pack_folder();
    for (auto _ : state) {
        std::string why;
        const std::optional<double> ns = wasm_play_pass_ns(dir, 3000, &why);
        if (!ns) {
            state.SkipWithError(why.c_str());
            break;
        }
        state.SetIterationTime(*ns * 1e-9);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PlayFrameWasm)->UseManualTime()->Iterations(1);

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

// The same with PICTURES: YOURS and a phone's 12-megapixel photo in the player's folder: the
// stall at the start of each stage, where the photo is read, decoded and fitted.
static void BM_BeginStagePlayersPhoto(benchmark::State& state) {
    const std::filesystem::path dir = fixture::make_temp_dir("bench-photo");
    fixture::write_pack(dir);
    fixture::write_sounds(dir);
    std::ofstream(dir / "vasul.ini") << "[pictures]\nyours=1\n";
    std::filesystem::create_directories(dir / "pictures");
    const std::vector<uint8_t>& photo = bench::photo(12);
    std::ofstream(dir / "pictures" / "photo.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(photo.data()),
               static_cast<std::streamsize>(photo.size()));
    PlayBench bench(dir);
    Game& game = bench.game();
    if (game.play.stage_files.empty()) state.SkipWithError("the photo was not chosen");
    for (auto _ : state) {
        game.state.stage = 0;
        game.play.fitted_stage = 0;  // as at a new stage: the last one's photo is not kept
        puzzle::begin_stage(game);
        benchmark::DoNotOptimize(game.state.x.data());
    }
}
BENCHMARK(BM_BeginStagePlayersPhoto)->Unit(benchmark::kMillisecond);
