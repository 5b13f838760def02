#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/surface.h"
#include "platform/result.h"

// Builds the whole default data pack in memory, then writes it: nothing is written until
// every file is ready, so an error never leaves half a pack behind.
namespace assetgen {

struct PackOptions {
    // Pictures (PNG or JPEG, at most eight) that replace the reward pictures 1, 2, ... in order.
    std::vector<std::filesystem::path> pictures;
    // Music and the effect; the tests of the pictures leave them out to stay quick.
    bool sounds = true;
};

// The pack's contents before encoding: the 19 pictures, the 13 sheet pieces and the script.
struct Artwork {
    std::vector<gfx::Surface> pictures;
    std::vector<gfx::Surface> pieces;
    std::string script;
};

struct PackFile {
    std::string path;  // relative to the data folder, with forward slashes
    std::vector<uint8_t> bytes;
    // The file becomes the player's own once written (the settings), so a new build of the
    // pack leaves an existing one alone.
    bool keep_existing = false;
};

// The settings and high-score file, beside the rest of the pack.
inline constexpr const char* kSettingsFile = "vasul.ini";

// The settings file a new player starts with: music and effect on at volume step 7, the
// music test at step 7 and difficulty "NORM", byte for byte as the game writes them.
std::string default_settings();

// Paints everything. Fails before any painting when a picture to import can't be read (or
// there are too many) or a font can't be opened, and when the script outgrows the viewer.
platform::Result<Artwork> build_artwork(const PackOptions& options);
// The files of the pack: the two archives, the script, the default settings, the window's icon
// and, with sounds, the music and effect. Fails when a piece outgrows its byte range.
platform::Result<std::vector<PackFile>> build_pack(const Artwork& art, const PackOptions& options);
// Writes every file atomically, creating the folders; files to keep are written only when
// missing. Stops at the first file that can't be written, naming it.
platform::Result<void> write_pack(const std::filesystem::path& dir,
                                  const std::vector<PackFile>& files);

// One PNG per picture and per sheet piece; sheets show their cells outlined and their
// transparent colour as a checkerboard. Stops at the first file that can't be written.
platform::Result<void> write_previews(const std::filesystem::path& dir, const Artwork& art);

}  // namespace assetgen
