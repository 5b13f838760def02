#pragma once
#include <filesystem>

#include "assetgen/image.h"
#include "platform/result.h"

namespace assetgen {

// A PNG or JPEG file as a 640 x 480 picture: the largest 4:3 area of its middle, scaled.
// When it can't be read, the reason names the file: Missing, NotAFile, Failed (it would not
// open) or Invalid (not a picture stb can decode).
platform::Result<Image> import_picture(const std::filesystem::path& file);

}  // namespace assetgen
