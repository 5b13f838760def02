// The play scene's cost per pass in wasm: node runs this, and the native benchmark
// BM_PlayFrameWasm reads the figure it prints and sets it against the same passes natively.
//   node vasul-bench-play.js DATA_FOLDER [PASSES]
// Prints the nanoseconds per pass on a line of its own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/numbers.h"
#include "play_setup.h"
#include "scenes/play_scene.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: vasul-bench-play DATA_FOLDER [PASSES]\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    long passes = 3000;
    if (argc > 2 && (!platform::parse_whole_number(argv[2], passes) || passes <= 0)) {
        std::fprintf(stderr, "vasul-bench-play: PASSES must be a positive number\n");
        return 2;
    }
    if (!std::filesystem::exists(dir / "image/data.bmp")) {
        std::fprintf(stderr, "vasul-bench-play: %s holds no data pack\n", dir.c_str());
        return 1;
    }

    // A clock that never advances: the pop-ups live and the countdown stands.
    platform::HeadlessPlatform platform(0);
    Game game(platform, dir);
    bench::set_up_play(game);

    // V8 first runs the wasm from a quick baseline compile and swaps in optimised code once a
    // function is hot; the warm-up passes let that happen before the clock starts.
    for (long i = 0; i < passes / 4 + 100; ++i) puzzle::play_update(game);

    // The passes are timed in batches and the median batch counts, so that a moment when the
    // machine is busy elsewhere does not weigh on the figure.
    constexpr long kBatches = 9;
    const long batch = std::max(1L, passes / kBatches);
    std::vector<double> per_pass;
    for (long b = 0; b < kBatches; ++b) {
        const auto start = std::chrono::steady_clock::now();
        for (long i = 0; i < batch; ++i) puzzle::play_update(game);
        const auto stop = std::chrono::steady_clock::now();
        per_pass.push_back(std::chrono::duration<double, std::nano>(stop - start).count() /
                           static_cast<double>(batch));
    }
    if (!bench::still_in_first_stage(game)) {
        std::fprintf(stderr, "vasul-bench-play: the game left play\n");
        return 1;
    }
    std::nth_element(per_pass.begin(), per_pass.begin() + kBatches / 2, per_pass.end());
    std::printf("%.1f\n", per_pass[kBatches / 2]);
    return 0;
}
