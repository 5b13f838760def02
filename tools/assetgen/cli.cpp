#include "assetgen/cli.h"

#include "assetgen/pack_builder.h"

namespace assetgen {

namespace {

constexpr const char* kUsage =
    "usage: assetgen --out DIR [--pictures FILE...] [--preview DIR]\n"
    "       assetgen --preview DIR [--pictures FILE...]\n"
    "\n"
    "  --out DIR         write the data pack into DIR: image/data.bmp, image/dat2.bmp,\n"
    "                    ogg/*.ogg, wave/in.wav and vasul.spt (the same bytes every run)\n"
    "  --pictures FILE.. up to eight PNG or JPEG pictures that become the reward pictures\n"
    "                    1, 2, ... (stages 1 to 5 play the first five) and their thumbnails;\n"
    "                    each is cropped to 4:3 around its middle and scaled to 640 x 480\n"
    "  --preview DIR     write a PNG of every picture and sheet piece into DIR\n"
    "  --help            show this text\n";

}  // namespace

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PackOptions options;
    std::string out_dir, preview_dir;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        } else if ((arg == "--out" || arg == "--preview") && i + 1 < args.size()) {
            (arg == "--out" ? out_dir : preview_dir) = args[++i];
        } else if (arg == "--pictures") {
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                options.pictures.emplace_back(args[++i]);
            if (options.pictures.empty()) {
                err << "assetgen: --pictures needs at least one file\n";
                return 2;
            }
        } else {
            err << "assetgen: unknown or incomplete option " << arg << "\n" << kUsage;
            return 2;
        }
    }
    if (out_dir.empty() && preview_dir.empty()) {
        err << kUsage;
        return 2;
    }
    options.sounds = !out_dir.empty();
    std::string why;
    auto art = build_artwork(options, &why);
    if (!art) {
        err << "assetgen: " << why << "; nothing written\n";
        return 1;
    }
    if (!out_dir.empty()) {
        auto files = build_pack(*art, options, &why);
        if (!files) {
            err << "assetgen: " << why << "; nothing written\n";
            return 1;
        }
        if (!write_pack(out_dir, *files, &why)) {
            err << "assetgen: " << why << "\n";
            return 1;
        }
    }
    if (!preview_dir.empty() && !write_previews(preview_dir, *art, &why)) {
        err << "assetgen: " << why << "\n";
        return 1;
    }
    return 0;
}

}  // namespace assetgen
