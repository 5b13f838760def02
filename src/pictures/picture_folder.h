#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "gfx/surface.h"
#include "platform/result.h"

// The player's picture folder, beside vasul.ini: what it holds, what a drop adds to it, and the
// pictures a game's five stages take from it.
namespace pictures {

inline constexpr const char* kFolderName = "pictures";

// The folder beside the settings file.
std::filesystem::path picture_folder(const std::filesystem::path& settings_file);

// The picture files in the folder by name: regular files ending in .png, .jpg, .jpeg, .gif or
// .bmp in any case, in byte order of their names, so that every run and every replay sees them
// in the same order. A missing folder holds none.
std::vector<std::filesystem::path> list_pictures(const std::filesystem::path& folder);

// Whether the file looks like a picture the game can show, from its length and its header
// alone: what the options screen counts. A file that passes may still fail to decode.
bool looks_usable(const std::filesystem::path& file);
// The folder's pictures that look usable, in list_pictures' order.
std::vector<std::filesystem::path> usable_pictures(const std::filesystem::path& folder);

// A file of a drop the folder did not take: its name and why ("is not a picture"). A reason may
// end in a detail after ": " ("cannot be decoded: bad huffman code").
struct Refusal {
    std::string name;
    std::string reason;
    std::string text() const { return name + " " + reason; }
    // The reason without its detail, for the screen.
    std::string headline() const { return name + " " + reason.substr(0, reason.find(": ")); }
};

// What a drop did: how many pictures are in the folder for it, and the files refused.
struct ImportReport {
    int taken = 0;
    std::vector<Refusal> refused;
};

// Checks each file by decoding it, then copies it into the folder under its own name with the
// one atomic writer. A file whose bytes the folder already holds is counted, not stored again;
// a different file of the same name is stored as "name-2.png", "name-3.png" and so on.
ImportReport import_pictures(const std::filesystem::path& folder,
                             const std::vector<std::filesystem::path>& files);

// A picture file made ready for a stage: decoded upright and fitted to the screen.
platform::Result<gfx::Surface> load_stage_picture(const std::filesystem::path& file);

}  // namespace pictures
