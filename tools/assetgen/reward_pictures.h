#pragma once
#include "assetgen/image.h"

// The eight reward pictures (slices 1 to 8); the first five are also the stages' puzzles,
// so every 80 x 80 cell of them carries texture that tells it apart from the others.
namespace assetgen {

inline constexpr int kRewardCount = 8;

// Reward picture k (1 to 8), 640 x 480.
Image paint_reward_picture(int k);

}  // namespace assetgen
