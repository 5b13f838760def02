#include <benchmark/benchmark.h>
#include <stb_image.h>

#include "gfx/archive.h"
#include "gfx/sprite_sheet.h"
#include "support/fixture_pack.h"

namespace {

// A real-size picture archive (19 slices of 640 x 480) written once for all benchmarks.
const platform::FileDataSource& archive_files() {
    static const platform::FileDataSource files = [] {
        auto d = fixture::make_temp_dir("bench-archive");
        fixture::write_pack(d);
        return platform::FileDataSource(d);
    }();
    return files;
}

}  // namespace

static void BM_DecodeBmpBaseline(benchmark::State& state) {
    const auto bytes = gfx::extract_slice(archive_files(), gfx::kPictureArchive, 5, 19);
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* p =
            stbi_load_from_memory(bytes->data(), static_cast<int>(bytes->size()), &w, &h, &n, 4);
        benchmark::DoNotOptimize(p);
        stbi_image_free(p);
    }
}
BENCHMARK(BM_DecodeBmpBaseline);

static void BM_LoadPicture(benchmark::State& state) {
    gfx::SpriteSheet sheet;
    for (auto _ : state) {
        const auto bytes = gfx::extract_slice(archive_files(), gfx::kPictureArchive, 5, 19);
        benchmark::DoNotOptimize(sheet.load_picture(*bytes));
        benchmark::DoNotOptimize(sheet.surface());
    }
}
BENCHMARK(BM_LoadPicture);
