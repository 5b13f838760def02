// Our keyed blit against SDL's colour-key blit on the same pixels in the same run.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>

#include "gfx/surface.h"

namespace {

constexpr uint32_t kKey = 0x00FF00FFu;

// A sprite-like source: runs of the key colour and of picture, 1 to 32 pixels long, so that
// half the pixels are keyed and the runs are not a pattern a branch predictor can learn.
gfx::Surface keyed_source() {
    gfx::Surface src(640, 480);
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 214013u + 2531011u;
        return (state >> 16) & 0x7FFFu;
    };
    bool key = false;
    int left = 0;
    for (uint32_t& p : src.pixels()) {
        if (left == 0) {
            key = !key;
            left = 1 + static_cast<int>(next() % 32);
        }
        p = key ? kKey : (next() | 0x100u);
        --left;
    }
    src.set_color_key(kKey);
    return src;
}

void BM_BlitKeyedFullFrame(benchmark::State& state) {
    const gfx::Surface src = keyed_source();
    gfx::Surface dst(640, 480, 7);
    for (auto _ : state) {
        gfx::blit(dst, 0, 0, src, {0, 0, 640, 480}, true);
        benchmark::DoNotOptimize(dst.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlitKeyedFullFrame);

void BM_SdlBlitKeyedFullFrame(benchmark::State& state) {
    gfx::Surface src = keyed_source();
    gfx::Surface dst(640, 480, 7);
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(src.pixels().data(), 640, 480, 32, 640 * 4,
                                                        SDL_PIXELFORMAT_RGB888);
    SDL_Surface* d = SDL_CreateRGBSurfaceWithFormatFrom(dst.pixels().data(), 640, 480, 32, 640 * 4,
                                                        SDL_PIXELFORMAT_RGB888);
    if (!s || !d) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SDL_SetColorKey(s, SDL_TRUE, kKey);
    SDL_Rect area{0, 0, 640, 480};
    for (auto _ : state) {
        SDL_Rect to = area;
        SDL_BlitSurface(s, &area, d, &to);
        benchmark::DoNotOptimize(d->pixels);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(s);
    SDL_FreeSurface(d);
}
BENCHMARK(BM_SdlBlitKeyedFullFrame);

}  // namespace
