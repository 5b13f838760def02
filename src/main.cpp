// The command line: finds the game's files, picks a backend, wraps it for replays, recordings
// and frame dumps, and runs the game.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/data_paths.h"
#include "app/game.h"
#include "app/shell.h"
#include "gfx/archive.h"
#include "platform/backend.h"
#include "platform/data_source.h"
#include "platform/harness.h"
#include "platform/headless/headless_platform.h"
#include "platform/heap.h"
#include "platform/log.h"
#include "platform/numbers.h"
#include "platform/replay.h"
#include "settings/settings.h"

#ifndef VASUL_VERSION
#define VASUL_VERSION "dev"
#endif
// Where an install keeps the pack: relative to the program's folder, and in the prefix. A build
// that installs nothing looks in neither.
#ifndef VASUL_INSTALL_DATA_REL
#define VASUL_INSTALL_DATA_REL ""
#endif
#ifndef VASUL_INSTALL_DATA_DIR
#define VASUL_INSTALL_DATA_DIR ""
#endif

namespace {

constexpr const char* kUsage =
    "usage: vasul [options]\n"
    "Plays from the data pack (image/, ogg/, wave/, vasul.spt) in the current folder, or from\n"
    "the one installed with the game; settings and scores go to vasul.ini.\n"
    "\n"
    "  --fullscreen       play full screen this time (Alt+Enter or F11 switch and remember)\n"
    "  --windowed         play in a window this time\n"
    "  --data DIR         read the data pack from DIR and keep vasul.ini there\n"
    "  --ini FILE         keep the settings and scores in FILE\n"
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
    std::optional<bool> fullscreen;  // for this run only; else as the player last chose
    app::FileOptions files;
    bool headless = false;
    std::optional<uint32_t> seed;
    std::string replay;
    std::string record;
    uint64_t frames = 0;
    std::string dump_dir;
    uint64_t dump_every = 1;
    uint32_t tick_ms = 16;
};

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
        } else if (arg == "--windowed" || arg == "--fullscreen") {
            o.fullscreen = arg == "--fullscreen";
        } else if (arg == "--data" || arg == "--ini") {
            const std::string* v = value();
            if (!v) return bad("needs a path");
            (arg == "--data" ? o.files.data : o.files.ini) = platform::utf8_path(*v);
        } else if (arg == "--headless") {
            o.headless = true;
        } else if (arg == "--seed") {
            const std::string* v = value();
            uint32_t seed = 0;
            if (!v || !platform::parse_whole_number(*v, seed))
                return bad("needs a number from 0 to 4294967295");
            o.seed = seed;
        } else if (arg == "--replay" || arg == "--record" || arg == "--dump-frames") {
            const std::string* v = value();
            if (!v) return bad("needs a path");
            (arg == "--replay" ? o.replay : arg == "--record" ? o.record : o.dump_dir) = *v;
        } else if (arg == "--frames") {
            const std::string* v = value();
            if (!v || !platform::parse_whole_number(*v, o.frames) || o.frames == 0)
                return bad("needs a positive number");
        } else if (arg == "--dump-every") {
            const std::string* v = value();
            if (!v || !platform::parse_whole_number(*v, o.dump_every) || o.dump_every == 0) {
                return bad("needs a positive number");
            }
        } else if (arg == "--tick-ms") {
            const std::string* v = value();
            if (!v || !platform::parse_whole_number(*v, o.tick_ms))
                return bad("needs a number of milliseconds");
        } else {
            platform::error("unknown option " + std::string(arg) + " (see --help)");
            return 2;
        }
    }
    return std::nullopt;
}

// Full screen or not as the player last chose, unless the command line says for this run;
// each switch with Alt+Enter or F11 is written to vasul.ini.
platform::BackendOptions display_options(const CommandLine& o, const app::GameFiles& files) {
    platform::BackendOptions display;
    const std::filesystem::path ini = files.settings.file;
    display.windowed =
        !o.fullscreen.value_or(settings::read_fullscreen(settings::ProfileStore(ini)));
    display.icon = files.data_dir / app::kIconFile;
    display.fullscreen_changed = [ini](bool fullscreen) {
        settings::ProfileStore store(ini);
        settings::write_fullscreen(store, fullscreen);
    };
    return display;
}

// What a game needs for the length of its run: the backend, the harness around it and the game.
struct Run {
    Run(std::unique_ptr<platform::Platform> display, std::optional<platform::Replay> script,
        platform::HarnessOptions options, std::shared_ptr<const platform::DataSource> data,
        const std::filesystem::path& settings_file)
        : backend(std::move(display)),
          replay(std::move(script)),
          harness(*backend, with_replay(options, replay)),
          game(harness, std::move(data), settings_file) {}

    static platform::HarnessOptions with_replay(platform::HarnessOptions options,
                                                const std::optional<platform::Replay>& replay) {
        options.replay = replay ? &*replay : nullptr;
        return options;
    }

    std::unique_ptr<platform::Platform> backend;
    std::optional<platform::Replay> replay;
    platform::Harness harness;
    Game game;
};

}  // namespace

int main(int argc, char** argv) {
    platform::keep_large_blocks_apart();
    CommandLine options;
    if (auto status = parse_args(platform::start_process(argc, argv), options)) return *status;

    std::optional<platform::Replay> replay;
    if (!options.replay.empty()) {
        platform::Result<platform::Replay> loaded =
            platform::load_replay(platform::utf8_path(options.replay));
        if (!loaded) {
            platform::error(loaded.error().reason);
            return 2;
        }
        replay = std::move(*loaded);
    }
    const platform::Result<app::GameFiles> files =
        app::locate_game_files(options.files, VASUL_INSTALL_DATA_REL, VASUL_INSTALL_DATA_DIR);
    if (!files) {
        platform::error(files.error().reason);
        return 2;
    }
    platform::keep_log_beside(files->settings.file);
    // The game is no use without its pictures: say which file is missing before any window.
    const auto data = std::make_shared<platform::FileDataSource>(files->data_dir);
    if (const platform::Result<void> archives = gfx::check_archives(*data); !archives) {
        platform::error(archives.error().reason);
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

    if (const platform::Result<void> copied = app::copy_default_settings(files->settings); !copied)
        platform::warn("the default settings were not copied: " + copied.error().reason);

    std::unique_ptr<platform::Platform> backend;
    if (options.headless) {
        backend = std::make_unique<platform::HeadlessPlatform>(options.tick_ms);
    } else {
        platform::Result<std::unique_ptr<platform::Platform>> opened =
            platform::make_platform(display_options(options, *files));
        if (!opened) {
            platform::error("cannot open the display: " + opened.error().reason);
            return 2;
        }
        backend = std::move(*opened);
    }

    const uint32_t seed = options.seed               ? *options.seed
                          : (replay && replay->seed) ? *replay->seed
                                                     : static_cast<uint32_t>(std::time(nullptr));
    platform::HarnessOptions harness_options;
    harness_options.record_file = platform::utf8_path(options.record);
    harness_options.seed = seed;
    harness_options.tick_ms = options.tick_ms;
    harness_options.dump_dir = platform::utf8_path(options.dump_dir);
    harness_options.dump_every = options.dump_every;
    // The run outlives main in a browser, whose loop goes on after main returns.
    auto run = std::make_shared<Run>(std::move(backend), std::move(replay), harness_options, data,
                                     files->settings.file);
    if (!run->harness.recording_ok()) {
        platform::error("cannot write the recording " + options.record);
        return 2;
    }
    app::start_up(run->game, seed);
    const uint64_t max_passes = options.frames;
    return platform::run_loop(
        [run, max_passes](uint64_t pass) -> std::optional<int> {
            if (max_passes != 0 && pass >= max_passes) return 0;
            return app::main_loop_pass(run->game, pass);
        },
        [run](int code) {
            app::shut_down(run->game);
            return code;
        });
}
