#pragma once
#include <cstdint>
#include <vector>

namespace bench {

// A JPEG at quality 90 of smooth light with fine grain, as a camera writes one: 4032 x 3024
// for 12 megapixels, 7296 x 5472 (the most the game takes) for 40. Made once per size.
const std::vector<uint8_t>& photo(int64_t megapixels);

}  // namespace bench
