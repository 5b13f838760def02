#include "assetgen/cli.h"

#include <exception>

#include "assetgen/icons.h"
#include "assetgen/pack_builder.h"
#include "packwriter/packwriter.h"

namespace assetgen {

namespace {

constexpr const char* kUsage =
    "usage: assetgen [--out DIR] [--pictures FILE...] [--preview DIR] [--icons DIR]\n"
    "                [--web-icons DIR] [--windows-icon FILE] [--settings FILE]\n"
    "\n"
    "  --out DIR         write the data pack into DIR: image/data.bmp, image/dat2.bmp,\n"
    "                    ogg/*.ogg, wave/in.wav and vasul.spt (the same bytes every run),\n"
    "                    and the default vasul.ini unless DIR already holds one\n"
    "  --pictures FILE.. up to eight PNG or JPEG pictures that become the reward pictures\n"
    "                    1, 2, ... (stages 1 to 5 play the first five) and their thumbnails;\n"
    "                    each is cropped to 4:3 around its middle and scaled to 640 x 480\n"
    "  --preview DIR     write a PNG of every picture and sheet piece into DIR\n"
    "  --icons DIR       write the application icon as DIR/hicolor/NxN/apps/" VASUL_APP_ID
    ".png\n"
    "                    in 32, 48, 64, 128 and 256 pixels\n"
    "  --web-icons DIR   write the web page's icons as DIR/icon-32.png, icon-192.png and\n"
    "                    icon-512.png\n"
    "  --windows-icon FILE  write the application icon as a Windows .ico file in 16, 24, 32,\n"
    "                    48, 64, 128 and 256 pixels\n"
    "  --settings FILE   write the default settings (the pack's vasul.ini) to FILE\n"
    "  --help            show this text\n";

struct Request {
    PackOptions options;
    std::string out_dir, preview_dir, icons_dir, web_icons_dir, windows_icon, settings_file;
    bool wants_art() const { return !out_dir.empty() || !preview_dir.empty(); }
    bool empty() const {
        return !wants_art() && icons_dir.empty() && web_icons_dir.empty() && windows_icon.empty() &&
               settings_file.empty();
    }
};

// Fills `r` from the arguments; returns 0 to go on, else the exit status.
int parse(const std::vector<std::string>& args, Request& r, std::ostream& out, std::ostream& err) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool has_value = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return -1;
        } else if (arg == "--out" && has_value) {
            r.out_dir = args[++i];
        } else if (arg == "--preview" && has_value) {
            r.preview_dir = args[++i];
        } else if (arg == "--icons" && has_value) {
            r.icons_dir = args[++i];
        } else if (arg == "--web-icons" && has_value) {
            r.web_icons_dir = args[++i];
        } else if (arg == "--windows-icon" && has_value) {
            r.windows_icon = args[++i];
        } else if (arg == "--settings" && has_value) {
            r.settings_file = args[++i];
        } else if (arg == "--pictures") {
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                r.options.pictures.emplace_back(args[++i]);
            if (r.options.pictures.empty()) {
                err << "assetgen: --pictures needs at least one file\n";
                return 2;
            }
        } else {
            err << "assetgen: unknown or incomplete option " << arg << "\n" << kUsage;
            return 2;
        }
    }
    if (r.empty()) {
        err << kUsage;
        return 2;
    }
    return 0;
}

// A failure found while the pack is still being made: nothing has been written yet.
platform::Error nothing_written(platform::Error error) {
    error.reason += "; nothing written";
    return error;
}

// The pack and the previews, which share one painting of the artwork.
platform::Result<void> write_art(Request& r) {
    r.options.sounds = !r.out_dir.empty();
    auto art = build_artwork(r.options);
    if (!art) return nothing_written(art.error());
    if (!r.out_dir.empty()) {
        auto files = build_pack(*art, r.options);
        if (!files) return nothing_written(files.error());
        auto written = write_pack(r.out_dir, *files);
        if (!written) return written;
    }
    if (r.preview_dir.empty()) return {};
    return write_previews(r.preview_dir, *art);
}

platform::Result<void> write_settings(const std::filesystem::path& file) {
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) return platform::fail(platform::ErrorKind::Failed, "cannot write " + file.string());
    const std::string ini = default_settings();
    auto written = pack::write_file_atomically(file.string(), {ini.begin(), ini.end()});
    if (!written) return platform::fail(written.error().kind, "cannot write " + file.string());
    return {};
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Request r;
    if (const int status = parse(args, r, out, err)) return status < 0 ? 0 : status;
    platform::Result<void> done;
    if (r.wants_art()) done = write_art(r);
    if (done && !r.icons_dir.empty()) done = write_icons(r.icons_dir, VASUL_APP_ID);
    if (done && !r.web_icons_dir.empty()) done = write_web_icons(r.web_icons_dir);
    if (done && !r.windows_icon.empty()) done = write_windows_icon(r.windows_icon);
    if (done && !r.settings_file.empty()) done = write_settings(r.settings_file);
    if (done) return 0;
    err << "assetgen: " << done.error().reason << "\n";
    return 1;
}

}  // namespace

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return run_guarded([&] { return run(args, out, err); }, err);
}

int run_guarded(const std::function<int()>& step, std::ostream& err) {
    try {
        return step();
    } catch (const std::exception& e) {
        err << "assetgen: " << e.what() << "\n";
    } catch (...) {
        err << "assetgen: unknown error\n";
    }
    return 1;
}

}  // namespace assetgen
