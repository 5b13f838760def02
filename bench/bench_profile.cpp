#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "settings/profile.h"
#include "support/fixture_pack.h"

namespace {

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

}  // namespace
