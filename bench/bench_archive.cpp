#include <benchmark/benchmark.h>
#include <stb_image.h>

#include "gfx/archive.h"
#include "gfx/sprite_sheet.h"
#include "support/fixture_pack.h"

namespace {

// A real-size picture archive (19 slices of 640 x 480) written once for all benchmarks.
const std::filesystem::path& archive_dir() {
    static const std::filesystem::path dir = [] {
        auto d = fixture::make_temp_dir("bench-archive");
        fixture::write_pack(d);
        return d;
    }();
    return dir;
}

}  // namespace

static void BM_DecodeBmpBaseline(benchmark::State& state) {
    const auto bytes = gfx::extract_slice(archive_dir() / gfx::kPictureArchive, 5, 19);
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* p =
            stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &n, 4);
        benchmark::DoNotOptimize(p);
        stbi_image_free(p);
    }
}
BENCHMARK(BM_DecodeBmpBaseline);

static void BM_LoadPicture(benchmark::State& state) {
    gfx::SpriteSheet sheet;
    const auto archive = archive_dir() / gfx::kPictureArchive;
    for (auto _ : state) {
        const auto bytes = gfx::extract_slice(archive, 5, 19);
        sheet.load_picture(bytes, "bench");
        benchmark::DoNotOptimize(sheet.surface());
    }
}
BENCHMARK(BM_LoadPicture);
