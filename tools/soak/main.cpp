// The soak: the headless game over long runs of seeded random input. Each run is a fresh
// process of its own, so that its peak memory is its own, and plays in a fresh folder that
// links the data pack, so that its vasul.ini stays out of the pack's folder.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/game.h"
#include "app/shell.h"
#include "platform/headless/headless_platform.h"
#include "platform/heap.h"
#include "platform/numbers.h"
#include "soak/soak_input.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSkipped = 77;  // no data pack: CTest reports the test as skipped

constexpr const char* kUsage =
    "usage: vasul_soak --data DIR --passes N[,N...] [--seed S] [--max-peak-mib M]\n"
    "                  [--max-growth-mib G] [--trace]\n"
    "Runs the headless game for N passes of seeded random input, once per N, each in a child\n"
    "process, and prints each run's peak memory. Fails on a crash, on a peak above M, or when\n"
    "the last run's peak exceeds the first run's by more than G. --trace shows each rise of\n"
    "the peak with the pass and scene it came in.\n";

struct SoakOptions {
    fs::path data;
    std::vector<uint64_t> passes;
    uint32_t seed = 1;
    double max_peak_mib = 0;     // 0: no limit
    double max_growth_mib = -1;  // below 0: no limit
    bool trace = false;
    fs::path run_in;  // the run itself, in this folder: what the child process does
};

constexpr std::array<const char*, kSceneCount> kSceneNames = {
    "title",  "play",    "tally", "gallery", "picture", "game over",
    "viewer", "options", "pause", "scores",  "name",    "music test"};

struct Tally {
    bool trace = false;
    uint64_t restarts = 0;
    uint64_t passes = 0;
    long peak_kib = 0;
    std::array<uint64_t, kSceneCount> scene_passes{};
};

long peak_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// With --trace, every rise of the peak is shown with the pass and scene it came in.
void trace_peak(Tally& tally, int scene) {
    const long now = peak_kib();
    if (now <= tally.peak_kib) return;
    tally.peak_kib = now;
    std::printf("  pass %llu, game %llu, %s: peak %.1f MiB\n",
                static_cast<unsigned long long>(tally.passes),
                static_cast<unsigned long long>(tally.restarts + 1),
                kSceneNames[static_cast<size_t>(scene)], static_cast<double>(now) / 1024.0);
}

bool parse_passes(std::string_view text, std::vector<uint64_t>& out) {
    while (!text.empty()) {
        const size_t comma = text.find(',');
        uint64_t n = 0;
        if (!platform::parse_whole_number(text.substr(0, comma), n) || n == 0) return false;
        out.push_back(n);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return !out.empty();
}

bool parse_option(std::string_view arg, std::string_view value, SoakOptions& o) {
    if (arg == "--data") {
        o.data = value;
        return !value.empty();
    }
    if (arg == "--passes") return parse_passes(value, o.passes);
    if (arg == "--in") {
        o.run_in = value;
        return !value.empty();
    }
    if (arg == "--seed") return platform::parse_whole_number(value, o.seed);
    if (arg == "--max-peak-mib") return platform::parse_whole_number(value, o.max_peak_mib);
    if (arg == "--max-growth-mib") return platform::parse_whole_number(value, o.max_growth_mib);
    return false;
}

bool parse_args(int argc, char** argv, SoakOptions& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--trace") {
            o.trace = true;
        } else if (i + 1 >= argc || !parse_option(arg, argv[++i], o)) {
            return false;
        }
    }
    return (!o.data.empty() || !o.run_in.empty()) && !o.passes.empty();
}

// A fresh folder holding links to the pack and a vasul.ini that switches both channels on,
// so that the run keeps the audio device busy.
fs::path make_work_dir(const fs::path& data) {
    std::string pattern = (fs::temp_directory_path() / "vasul-soak-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    const fs::path dir = pattern;
    for (const char* name : {"image", "ogg", "wave", "vasul.spt"}) {
        std::error_code ec;
        if (fs::exists(data / name)) fs::create_symlink(fs::absolute(data / name), dir / name, ec);
    }
    std::ofstream(dir / "vasul.ini") << "[music]\nbgmon=1\nseon=1\nbgm=9\nse=9\n";
    return dir;
}

// Runs one game until it quits or the passes run out; returns the passes it took.
uint64_t play_one_game(const fs::path& dir, soak::SoakInput& input, uint64_t passes, uint32_t seed,
                       Tally& tally) {
    // Some games run on a faster clock, so that stages also run out of time.
    constexpr std::array<uint32_t, 4> kTickMs = {16, 16, 60, 250};
    auto platform = std::make_unique<platform::HeadlessPlatform>(kTickMs[seed % kTickMs.size()]);
    auto game = std::make_unique<Game>(*platform, dir);
    app::start_up(*game, seed);
    uint64_t pass = 0;
    while (pass < passes) {
        input.step(*platform);
        ++tally.scene_passes[static_cast<size_t>(game->current_scene)];
        ++tally.passes;
        const bool quit = app::main_loop_pass(*game, pass++).has_value();
        if (tally.trace) trace_peak(tally, game->current_scene);
        if (quit) break;
    }
    app::shut_down(*game);
    return pass;
}

// The child's part: the whole run, a new game each time one quits (a click on Exit).
void soak_run(const fs::path& dir, uint64_t passes, uint32_t seed, bool trace) {
    soak::SoakInput input(seed);
    Tally tally;
    tally.trace = trace;
    uint64_t done = 0;
    while (done < passes) {
        done += play_one_game(dir, input, passes - done, seed + static_cast<uint32_t>(done), tally);
        if (done < passes) ++tally.restarts;
    }
    std::printf("  %llu games; passes per scene:",
                static_cast<unsigned long long>(tally.restarts + 1));
    for (size_t i = 0; i < kSceneNames.size(); ++i) {
        std::printf(" %s %llu%s", kSceneNames[i],
                    static_cast<unsigned long long>(tally.scene_passes[i]),
                    i + 1 < kSceneNames.size() ? "," : "\n");
    }
    std::fflush(stdout);
}

struct RunResult {
    bool ok = false;
    double peak_mib = 0;
    double seconds = 0;
};

// Starts this program again for one run, so that the run's peak is that of a fresh process.
[[noreturn]] void run_fresh_process(const fs::path& dir, uint64_t passes, uint32_t seed,
                                    bool trace) {
    std::vector<std::string> args = {
        "vasul_soak",           "--in",   dir.string(),        "--passes",
        std::to_string(passes), "--seed", std::to_string(seed)};
    if (trace) args.emplace_back("--trace");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    std::_Exit(127);
}

RunResult run_in_child(const fs::path& data, uint64_t passes, uint32_t seed, bool trace) {
    const fs::path dir = make_work_dir(data);
    if (dir.empty()) return {};
    const auto start = std::chrono::steady_clock::now();
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) run_fresh_process(dir, passes, seed, trace);
    int status = 0;
    rusage usage{};
    const bool waited = child > 0 && wait4(child, &status, 0, &usage) == child;
    std::error_code ec;
    fs::remove_all(dir, ec);
    RunResult r;
    r.ok = waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    r.peak_mib = static_cast<double>(usage.ru_maxrss) / 1024.0;  // Linux counts KiB
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!r.ok) std::printf("  the run failed (wait status %d)\n", status);
    return r;
}

bool check_limits(const SoakOptions& o, const std::vector<RunResult>& runs) {
    bool ok = true;
    for (const RunResult& r : runs) {
        ok = ok && r.ok;
        if (o.max_peak_mib > 0 && r.peak_mib > o.max_peak_mib) {
            std::printf("FAIL: a peak of %.1f MiB is above %.1f MiB\n", r.peak_mib, o.max_peak_mib);
            ok = false;
        }
    }
    const double growth = runs.back().peak_mib - runs.front().peak_mib;
    if (o.max_growth_mib >= 0 && growth > o.max_growth_mib) {
        std::printf(
            "FAIL: the peak grew by %.1f MiB from the first run to the last, more than "
            "%.1f MiB\n",
            growth, o.max_growth_mib);
        ok = false;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    platform::keep_large_blocks_apart();  // as the game does
    SoakOptions o;
    if (!parse_args(argc, argv, o)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!o.run_in.empty()) {
        soak_run(o.run_in, o.passes.front(), o.seed, o.trace);
        return 0;
    }
    if (!fs::exists(o.data / "image" / "data.bmp")) {
        std::printf("no data pack at %s\n", o.data.string().c_str());
        return kSkipped;
    }
    std::vector<RunResult> runs;
    for (uint64_t passes : o.passes) {
        runs.push_back(run_in_child(o.data, passes, o.seed, o.trace));
        const RunResult& r = runs.back();
        std::printf("soak: %llu passes, peak %.1f MiB, %.1f s\n",
                    static_cast<unsigned long long>(passes), r.peak_mib, r.seconds);
    }
    if (!check_limits(o, runs)) return 1;
    std::printf("soak: ok\n");
    return 0;
}
