#pragma once
#include "gfx/surface.h"

namespace pictures {

// A picture made to fill the screen (640 x 480): the largest 4:3 area of its middle, resampled
// in linear light, so that small pictures are enlarged smoothly and large ones keep their fine
// detail without shimmering. The game's stages and the generator's --pictures both use it.
// An empty picture gives a white screen, as does one the resampler found no memory for.
gfx::Surface fit_picture(const gfx::Surface& picture);

}  // namespace pictures
