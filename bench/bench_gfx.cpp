#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "gfx/surface.h"

static void BM_MemcpyFullFrame(benchmark::State& state) {
    std::vector<uint32_t> a(640 * 480, 1), b(640 * 480);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFullFrame);

static void BM_BlitOpaqueFullFrame(benchmark::State& state) {
    gfx::Surface src(640, 480, 5), dst(640, 480);
    for (auto _ : state) {
        gfx::blit(dst, 0, 0, src, {0, 0, 640, 480}, false);
        benchmark::DoNotOptimize(dst.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlitOpaqueFullFrame);
