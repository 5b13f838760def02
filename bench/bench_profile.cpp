#include <benchmark/benchmark.h>
#include <malloc.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/profile.h"
#include "support/colliding_keys.h"
#include "support/fixture_pack.h"

namespace {

// Bytes the allocator has handed out and not had back, large blocks included.
size_t heap_in_use() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// A vasul.ini as a player's folder holds it: every setting, then the high-score table in the
// order the game first writes it, with Windows line endings.
class SampleIni {
  public:
    SampleIni() : dir_(fixture::make_temp_dir("bench-profile")) {
        std::string text =
            "[cg]\r\nfps=1\r\n[music]\r\nbgmon=1\r\nseon=1\r\nbgm=7\r\nse=5\r\n"
            "[mode]\r\nlevel=1\r\n[sound]\r\nloop=0\r\nvol=9\r\n[score]\r\n"
            "sum0=10057\r\nsum1=237\r\n";
        for (int i = 0; i < 10; ++i) {
            text += "nam" + std::to_string(i) + "=AAA\r\nsco" + std::to_string(i) + "=500\r\n";
        }
        std::ofstream(path(), std::ios::binary) << text;
    }
    ~SampleIni() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::filesystem::path path() const { return dir_ / "vasul.ini"; }

  private:
    std::filesystem::path dir_;
};

void BM_ProfileParse(benchmark::State& state) {
    const SampleIni ini;
    for (auto _ : state) {
        settings::ProfileStore store(ini.path());
        benchmark::DoNotOptimize(&store);
    }
}
BENCHMARK(BM_ProfileParse);

void BM_ProfileRead(benchmark::State& state) {
    const SampleIni ini;
    const settings::ProfileStore store(ini.path());
    for (auto _ : state) {
        std::string name = store.read("score", "nam7", "AAA", 4);
        benchmark::DoNotOptimize(name);
    }
}
BENCHMARK(BM_ProfileRead);

// A file of names crafted to collide under an unseeded hash, loaded against a file of as
// many ordinary names of the same length: the counter "vs_ordinary" is the ratio of the two
// load times. It stays small and flat from 4096 to 65536 names when no name can slow the
// index down; a hash that can be flooded makes it grow with the count.
class KeyFiles {
  public:
    explicit KeyFiles(int stages) : dir_(fixture::make_temp_dir("bench-profile-keys")) {
        const auto crafted = fixture::colliding_keys("score", stages);
        const auto ordinary = fixture::ordinary_keys(crafted.size(), crafted[0].size());
        std::ofstream(crafted_path(), std::ios::binary) << fixture::ini_with_keys("score", crafted);
        std::ofstream(ordinary_path(), std::ios::binary)
            << fixture::ini_with_keys("score", ordinary);
    }
    ~KeyFiles() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::filesystem::path crafted_path() const { return dir_ / "crafted.ini"; }
    std::filesystem::path ordinary_path() const { return dir_ / "ordinary.ini"; }

  private:
    std::filesystem::path dir_;
};

// In the thread's own CPU time, so that other work on the machine does not tilt the ratio.
double seconds_to_load(const std::filesystem::path& file) {
    auto now = [] {
        timespec t;
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    };
    const double start = now();
    settings::ProfileStore store(file);
    benchmark::DoNotOptimize(&store);
    return now() - start;
}

void BM_ProfileLoadCraftedKeys(benchmark::State& state) {
    const KeyFiles files(static_cast<int>(state.range(0)));
    double crafted = 0;
    double ordinary = 0;
    for (auto _ : state) {
        const double t = seconds_to_load(files.crafted_path());
        crafted += t;
        ordinary += seconds_to_load(files.ordinary_path());
        state.SetIterationTime(t);
    }
    state.counters["vs_ordinary"] = crafted / ordinary;
}
// 2^12, 2^14 and 2^16 names.
BENCHMARK(BM_ProfileLoadCraftedKeys)
    ->Arg(12)
    ->Arg(14)
    ->Arg(16)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The heap a loaded store holds, per byte of its file, for a large file of short lines.
void BM_ProfileLoadLargeFile(benchmark::State& state) {
    const auto dir = fixture::make_temp_dir("bench-profile-large");
    const auto path = dir / "vasul.ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << "[score]\r\n";
        for (int i = 0; i < 400000; ++i) out << "pad" << i << "=x\r\n";
    }
    const auto file_size = static_cast<double>(std::filesystem::file_size(path));
    double held = 0;
    for (auto _ : state) {
        const size_t before = heap_in_use();
        settings::ProfileStore store(path);
        held = static_cast<double>(heap_in_use() - before);
        benchmark::DoNotOptimize(&store);
    }
    state.counters["heap_per_file_byte"] = held / file_size;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_ProfileLoadLargeFile)->Unit(benchmark::kMillisecond);

}  // namespace
