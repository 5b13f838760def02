#include "assetgen/cli.h"

#include "assetgen/icons.h"
#include "assetgen/pack_builder.h"
#include "packwriter/packwriter.h"

namespace assetgen {

namespace {

constexpr const char* kUsage =
    "usage: assetgen [--out DIR] [--pictures FILE...] [--preview DIR] [--icons DIR]\n"
    "                [--web-icons DIR] [--settings FILE]\n"
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
    "  --settings FILE   write the default settings (the pack's vasul.ini) to FILE\n"
    "  --help            show this text\n";

struct Request {
    PackOptions options;
    std::string out_dir, preview_dir, icons_dir, web_icons_dir, settings_file;
    bool wants_art() const { return !out_dir.empty() || !preview_dir.empty(); }
    bool empty() const {
        return !wants_art() && icons_dir.empty() && web_icons_dir.empty() && settings_file.empty();
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

// The pack and the previews, which share one painting of the artwork.
bool write_art(Request& r, std::string& why) {
    r.options.sounds = !r.out_dir.empty();
    auto art = build_artwork(r.options, &why);
    auto files = art && !r.out_dir.empty() ? build_pack(*art, r.options, &why) : std::nullopt;
    if (!art || (!r.out_dir.empty() && !files)) {
        why += "; nothing written";
        return false;
    }
    if (files && !write_pack(r.out_dir, *files, &why)) return false;
    return r.preview_dir.empty() || write_previews(r.preview_dir, *art, &why);
}

bool write_settings(const std::filesystem::path& file, std::string& why) {
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    const std::string ini = default_settings();
    if (!ec && pack::write_file_atomically(file.string(), {ini.begin(), ini.end()})) return true;
    why = "cannot write " + file.string();
    return false;
}

}  // namespace

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Request r;
    if (const int status = parse(args, r, out, err)) return status < 0 ? 0 : status;
    std::string why;
    bool ok = !r.wants_art() || write_art(r, why);
    if (ok && !r.icons_dir.empty()) ok = write_icons(r.icons_dir, VASUL_APP_ID, &why);
    if (ok && !r.web_icons_dir.empty()) ok = write_web_icons(r.web_icons_dir, &why);
    if (ok && !r.settings_file.empty()) ok = write_settings(r.settings_file, why);
    if (!ok) err << "assetgen: " << why << "\n";
    return ok ? 0 : 1;
}

}  // namespace assetgen
