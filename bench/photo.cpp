#include "photo.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct PhotoSize {
    int width, height;
};

PhotoSize photo_size(int64_t megapixels) {
    return megapixels >= 40 ? PhotoSize{7296, 5472} : PhotoSize{4032, 3024};
}

void append(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    const auto* from = static_cast<const uint8_t*>(data);
    bytes->insert(bytes->end(), from, from + size);
}

}  // namespace

namespace bench {

// A JPEG at quality 90 of smooth light with fine grain, as a camera writes one; made once.
const std::vector<uint8_t>& photo(int64_t megapixels) {
    static std::map<int64_t, std::vector<uint8_t>> made;
    std::vector<uint8_t>& bytes = made[megapixels];
    if (!bytes.empty()) return bytes;
    const PhotoSize size = photo_size(megapixels);
    std::vector<uint8_t> rgb(static_cast<size_t>(size.width) * size.height * 3);
    uint32_t grain = 1;
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            grain = grain * 1664525u + 1013904223u;
            const int noise = static_cast<int>(grain >> 29) - 4;
            uint8_t* p = &rgb[(static_cast<size_t>(y) * size.width + x) * 3];
            const double sky = std::sin(x * 0.0013) * std::cos(y * 0.0021);
            p[0] =
                static_cast<uint8_t>(std::clamp(128 + static_cast<int>(90 * sky) + noise, 0, 255));
            p[1] = static_cast<uint8_t>(
                std::clamp(110 + static_cast<int>(70 * std::sin(y * 0.003)) + noise, 0, 255));
            p[2] =
                static_cast<uint8_t>(std::clamp(150 - static_cast<int>(60 * sky) + noise, 0, 255));
        }
    }
    stbi_write_jpg_to_func(append, &bytes, size.width, size.height, 3, rgb.data(), 90);
    return bytes;
}

}  // namespace bench
