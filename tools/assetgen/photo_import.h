#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "assetgen/image.h"

namespace assetgen {

// A PNG or JPEG file as a 640 x 480 picture: the largest 4:3 area of its middle, scaled.
// Nothing, with a message naming the file in *why, when it can't be read.
std::optional<Image> import_picture(const std::filesystem::path& file, std::string* why);

}  // namespace assetgen
