// The command line: picks a backend, wraps it for replays, recordings and frame dumps, and
// runs the game in the current directory.
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/game.h"
#include "app/shell.h"
#include "gfx/archive.h"
#include "platform/backend.h"
#include "platform/data_source.h"
#include "platform/harness.h"
#include "platform/headless/headless_platform.h"
#include "platform/heap.h"
#include "platform/log.h"
#include "platform/replay.h"

#ifndef VASUL_VERSION
#define VASUL_VERSION "dev"
#endif

namespace {

constexpr const char* kUsage =
    "usage: vasul [options]\n"
    "Runs the game from the current directory (image/, ogg/, wave/, vasul.spt, vasul.ini).\n"
    "\n"
    "  --windowed         play in a window instead of full screen\n"
    "  --headless         no window and no sound device, virtual clock\n"
    "  --seed N           seed the random generator with N instead of the clock\n"
    "  --replay FILE      post the messages of FILE\n"
    "  --record FILE      write the seed, every message taken and the clock to FILE\n"
    "  --frames N         stop after N passes of the main loop\n"
    "  --dump-frames DIR  write every presented frame as DIR/frame-NNNNNN.bmp\n"
    "  --dump-every K     with --dump-frames: only passes that are multiples of K\n"
    "  --tick-ms MS       headless: the clock advances MS per pass (default 16)\n"
    "  --help, --version\n";

struct CommandLine {
    bool windowed = false;
    bool headless = false;
    std::optional<uint32_t> seed;
    std::string replay;
    std::string record;
    uint64_t frames = 0;
    std::string dump_dir;
    uint64_t dump_every = 1;
    uint32_t tick_ms = 16;
};

template <typename T>
bool parse_number(const std::string* text, T& out) {
    const char* end_of_text = text->data() + text->size();
    auto [end, ec] = std::from_chars(text->data(), end_of_text, out);
    return ec == std::errc() && end == end_of_text;
}

// Fills options from argv; returns an exit status when the program should stop now.
std::optional<int> parse_args(const std::vector<std::string>& args, CommandLine& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        auto value = [&]() -> const std::string* {
            return i + 1 < args.size() ? &args[++i] : nullptr;
        };
        auto bad = [&](const char* why) {
            platform::error(std::string(arg) + ": " + why + " (see --help)");
            return 2;
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("vasul %s\n", VASUL_VERSION);
            return 0;
        } else if (arg == "--windowed") {
            o.windowed = true;
        } else if (arg == "--headless") {
            o.headless = true;
        } else if (arg == "--seed") {
            const std::string* v = value();
            uint32_t seed = 0;
            if (!v || !parse_number(v, seed)) return bad("needs a number from 0 to 4294967295");
            o.seed = seed;
        } else if (arg == "--replay" || arg == "--record" || arg == "--dump-frames") {
            const std::string* v = value();
            if (!v) return bad("needs a path");
            (arg == "--replay" ? o.replay : arg == "--record" ? o.record : o.dump_dir) = *v;
        } else if (arg == "--frames") {
            const std::string* v = value();
            if (!v || !parse_number(v, o.frames) || o.frames == 0)
                return bad("needs a positive number");
        } else if (arg == "--dump-every") {
            const std::string* v = value();
            if (!v || !parse_number(v, o.dump_every) || o.dump_every == 0) {
                return bad("needs a positive number");
            }
        } else if (arg == "--tick-ms") {
            const std::string* v = value();
            if (!v || !parse_number(v, o.tick_ms)) return bad("needs a number of milliseconds");
        } else {
            platform::error("unknown option " + std::string(arg) + " (see --help)");
            return 2;
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    platform::keep_large_blocks_apart();
    CommandLine options;
    if (auto status = parse_args(platform::start_process(argc, argv), options)) return *status;

    std::optional<platform::Replay> replay;
    if (!options.replay.empty()) {
        std::string error;
        replay = platform::load_replay(platform::utf8_path(options.replay), error);
        if (!replay) {
            platform::error(error);
            return 2;
        }
    }
    // The game is no use without its pictures: say which file is missing before any window.
    const auto data = std::make_shared<platform::FileDataSource>(".");
    if (auto problem = gfx::check_archives(*data); !problem.empty()) {
        platform::error(problem);
        return 2;
    }
    if (!options.dump_dir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(platform::utf8_path(options.dump_dir), ec);
        if (ec) {
            platform::error("cannot create " + options.dump_dir + ": " + ec.message());
            return 2;
        }
    }

    std::unique_ptr<platform::Platform> backend;
    if (options.headless) {
        backend = std::make_unique<platform::HeadlessPlatform>(options.tick_ms);
    } else {
        std::string error;
        backend = platform::make_platform({options.windowed}, error);
        if (!backend) {
            platform::error("cannot open the display: " + error);
            return 2;
        }
    }

    const uint32_t seed = options.seed               ? *options.seed
                          : (replay && replay->seed) ? *replay->seed
                                                     : static_cast<uint32_t>(std::time(nullptr));
    platform::HarnessOptions harness_options;
    harness_options.replay = replay ? &*replay : nullptr;
    harness_options.record_file = platform::utf8_path(options.record);
    harness_options.seed = seed;
    harness_options.tick_ms = options.tick_ms;
    harness_options.dump_dir = platform::utf8_path(options.dump_dir);
    harness_options.dump_every = options.dump_every;
    platform::Harness harness(*backend, harness_options);
    if (!harness.recording_ok()) {
        platform::error("cannot write the recording " + options.record);
        return 2;
    }

    Game game(harness, data, ".");
    app::start_up(game, seed);
    const int code = app::run_main_loop(game, {options.frames});
    app::shut_down(game);
    return code;
}
