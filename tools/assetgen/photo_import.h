#pragma once
#include <filesystem>

#include "assetgen/image.h"
#include "platform/result.h"

namespace assetgen {

// A PNG, JPEG, GIF or BMP file as a 640 x 480 picture, read as the game reads the player's
// own pictures (pictures::decode_picture, then pictures::fit_picture): upright, the largest
// 4:3 area of its middle, resampled in linear light. When it can't be read, the reason names
// the file: Missing, NotAFile, Failed (it would not open), TooLarge (over 64 MiB or 40
// megapixels) or Invalid (not a picture that decodes).
platform::Result<Image> import_picture(const std::filesystem::path& file);

}  // namespace assetgen
