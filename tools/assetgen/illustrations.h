#pragma once
#include <array>
#include <vector>

#include "assetgen/image.h"
#include "assetgen/screens.h"

// The viewer's illustrations (piece 8): one cell per page of the how-to-play script.
namespace assetgen {

enum Illustration : int {
    kDragFrame = 0,
    kSnapFrame,
    kChainFrame,
    kBonusFrame,
    kKeysFrame,
    kGalleryFrame,
    kIllustrationCount
};

std::vector<Image> paint_illustrations(const Fonts& fonts,
                                       const std::array<const Image*, 8>& rewards);

}  // namespace assetgen
