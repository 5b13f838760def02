// assetgen: generates the game's default data pack (pictures, sheets, music, effect and
// viewer script) into a data folder, or previews of its pictures.
#include <cstdio>
#include <cstring>
#include <string>

#include "assetgen/pack_builder.h"

namespace {

void usage(FILE* to) {
    std::fputs(
        "usage: assetgen --out DIR [--pictures FILE...] [--preview DIR]\n"
        "       assetgen --preview DIR [--pictures FILE...]\n"
        "\n"
        "  --out DIR         write the data pack into DIR: image/data.bmp, image/dat2.bmp,\n"
        "                    ogg/*.ogg, wave/in.wav and vasul.spt (the same bytes every run)\n"
        "  --pictures FILE.. up to eight PNG or JPEG pictures that become the reward pictures\n"
        "                    1, 2, ... (stages 1 to 5 play the first five) and their thumbnails;\n"
        "                    each is cropped to 4:3 around its middle and scaled to 640 x 480\n"
        "  --preview DIR     write a PNG of every picture and sheet piece into DIR\n"
        "  --help            show this text\n",
        to);
}

}  // namespace

int main(int argc, char** argv) {
    assetgen::PackOptions options;
    std::string out, preview;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if ((arg == "--out" || arg == "--preview") && i + 1 < argc) {
            (arg == "--out" ? out : preview) = argv[++i];
        } else if (arg == "--pictures") {
            while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0)
                options.pictures.emplace_back(argv[++i]);
            if (options.pictures.empty()) {
                std::fputs("assetgen: --pictures needs at least one file\n", stderr);
                return 2;
            }
        } else {
            std::fprintf(stderr, "assetgen: unknown or incomplete option %s\n", arg.c_str());
            usage(stderr);
            return 2;
        }
    }
    if (out.empty() && preview.empty()) {
        usage(stderr);
        return 2;
    }
    options.sounds = !out.empty();
    std::string why;
    auto art = assetgen::build_artwork(options, &why);
    if (!art) {
        std::fprintf(stderr, "assetgen: %s; nothing written\n", why.c_str());
        return 1;
    }
    if (!out.empty()) {
        auto files = assetgen::build_pack(*art, options, &why);
        if (!files || !assetgen::write_pack(out, *files, &why)) {
            std::fprintf(stderr, "assetgen: %s\n", why.c_str());
            return 1;
        }
    }
    if (!preview.empty() && !assetgen::write_previews(preview, *art, &why)) {
        std::fprintf(stderr, "assetgen: %s\n", why.c_str());
        return 1;
    }
    return 0;
}
