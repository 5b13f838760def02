// The player's photo at the start of a stage: a phone's 12-megapixel JPEG, and one at the
// 40-megapixel cap, decoded, turned upright and fitted to the screen, against stb's plain decode
// of the same bytes.
#include <benchmark/benchmark.h>
#include <stb_image.h>

#include <cstdint>
#include <vector>

#include "photo.h"
#include "pictures/decode.h"
#include "pictures/fit.h"

static void BM_DecodeJpegBaseline(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = bench::photo(state.range(0));
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* p =
            stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &n, 4);
        benchmark::DoNotOptimize(p);
        stbi_image_free(p);
    }
}
BENCHMARK(BM_DecodeJpegBaseline)->Arg(12)->Arg(40)->Unit(benchmark::kMillisecond);

// Everything between the file's bytes and the stage's picture: the caps, the decode into the
// game's pixels, the orientation and the fit in linear light.
static void BM_PlayersPicture(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = bench::photo(state.range(0));
    for (auto _ : state) {
        const platform::Result<gfx::Surface> picture = pictures::decode_picture(bytes);
        if (!picture) {
            state.SkipWithError(picture.error().reason.c_str());
            break;
        }
        const gfx::Surface fitted = pictures::fit_picture(*picture);
        benchmark::DoNotOptimize(fitted.pixels().data());
    }
    state.counters["file_MiB"] = static_cast<double>(bytes.size()) / (1 << 20);
}
BENCHMARK(BM_PlayersPicture)->Arg(12)->Arg(40)->Unit(benchmark::kMillisecond);
