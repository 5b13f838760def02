#include "assetgen/icons.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "assetgen/reward_pictures.h"
#include "assetgen/stb_io.h"
#include "packwriter/packwriter.h"

namespace assetgen {

namespace {

// Drawn this many times larger, then averaged down, so that edges come out smooth.
constexpr int kSupersample = 4;

// The square of the lake picture the piece shows: the glowing sky, the sun and the ridges.
constexpr float kCropX = 299.f, kCropY = 60.f, kCropSide = 320.f;

// Signed distance to the piece in the unit square: a body with knobs on the top and the right
// and sockets on the left and the bottom, placed so that the whole piece sits in the middle.
float piece_distance(float u, float v) {
    constexpr float left = 0.11f, right = 0.73f, top = 0.27f, bottom = 0.89f;
    constexpr float cx = (left + right) / 2, cy = (top + bottom) / 2;
    constexpr float r = 0.1f, out = 0.06f;  // knob radius; its centre lies beyond the edge
    const float body = sd_box(u, v, cx, cy, (right - left) / 2, (bottom - top) / 2, 0.03f);
    const float knobs =
        std::min(sd_circle(u, v, cx, top - out, r), sd_circle(u, v, right + out, cy, r));
    const float sockets =
        std::min(sd_circle(u, v, left + out, cy, r), sd_circle(u, v, cx, bottom - out, r));
    return std::max(std::min(body, knobs), -sockets);
}

// Averages blocks of factor x factor pixels, weighting colour by coverage so that
// transparent pixels don't darken the edge.
Image shrink(const Image& big, int factor) {
    const int w = big.width() / factor, h = big.height() / factor;
    Image out(w, h, {}, 0.f);
    const float n = static_cast<float>(factor * factor);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb sum;
            float alpha = 0.f;
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) {
                    const float a = big.alpha(x * factor + i, y * factor + j);
                    sum = sum + big.at(x * factor + i, y * factor + j) * a;
                    alpha += a;
                }
            if (alpha > 0.f) out.at(x, y) = sum * (1.f / alpha);
            out.alpha(x, y) = alpha / n;
        }
    return out;
}

uint8_t byte(float v) {
    return static_cast<uint8_t>(std::lround(clamp01(v) * 255.f));
}

// The picture as 8-bit RGBA rows from the top, alpha straight.
std::vector<uint8_t> rgba_bytes(const Image& img) {
    std::vector<uint8_t> rgba;
    rgba.reserve(static_cast<size_t>(img.width()) * img.height() * 4);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const Rgb c = img.at(x, y);
            rgba.insert(rgba.end(), {byte(c.r), byte(c.g), byte(c.b), byte(img.alpha(x, y))});
        }
    return rgba;
}

platform::Result<void> write_png_rgba(const std::filesystem::path& path, const Image& img) {
    const std::vector<uint8_t> rgba = rgba_bytes(img);
    if (!assetgen_write_png_rgba(path.string().c_str(), img.width(), img.height(), rgba.data()))
        return platform::fail(platform::ErrorKind::Failed, "cannot write " + path.string());
    return {};
}

}  // namespace

Image paint_icon(const Image& lake, int size) {
    const int big = size * kSupersample;
    const float scale = static_cast<float>(big);
    const Image picture = resample(lake, kCropX, kCropY, kCropSide, kCropSide, big, big);
    // Lines keep at least one pixel at the smallest sizes so the outline still reads.
    const float line = std::max(1.f, static_cast<float>(size) / 64.f) * kSupersample;
    const float shadow = 0.025f * scale;
    Image img(big, big, {}, 0.f);
    auto dist = [&](float x, float y) { return piece_distance(x / scale, y / scale) * scale; };
    fill(
        img, 0, 0, big, big,
        [&](float x, float y) { return dist(x - shadow * 0.6f, y - shadow) - shadow * 0.5f; },
        hex(0x000000), 0.35f);
    fill_shaded(img, 0, 0, big, big, dist, [&](float x, float y) {
        return picture.at(static_cast<int>(x), static_cast<int>(y));
    });
    // A dark rim against light panels and a warm line inside it against dark ones.
    fill(
        img, 0, 0, big, big,
        [&](float x, float y) { return std::abs(dist(x, y) + line / 2) - line / 2; },
        hex(0x1A1030));
    fill(
        img, 0, 0, big, big,
        [&](float x, float y) { return std::abs(dist(x, y) + line * 1.35f) - line * 0.35f; },
        hex(0xFFE2B0), 0.8f);
    return shrink(img, kSupersample);
}

std::vector<uint8_t> encode_icon_bmp(const Image& icon) {
    constexpr uint32_t kFileHeader = 14, kInfoHeader = 108;
    const uint32_t w = static_cast<uint32_t>(icon.width()),
                   h = static_cast<uint32_t>(icon.height());
    const uint32_t pixels = w * h * 4;
    std::vector<uint8_t> out;
    out.reserve(kFileHeader + kInfoHeader + pixels);
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    out.push_back('B');
    out.push_back('M');
    put(kFileHeader + kInfoHeader + pixels, 4);
    put(0, 4);
    put(kFileHeader + kInfoHeader, 4);
    put(kInfoHeader, 4);
    put(w, 4);
    put(h, 4);  // positive: rows bottom up
    put(1, 2);
    put(32, 2);
    put(3, 4);  // BI_BITFIELDS
    put(pixels, 4);
    put(2835, 4);  // 72 dpi
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) put(mask, 4);
    put(0x73524742, 4);                      // 'sRGB'
    for (int i = 0; i < 12; ++i) put(0, 4);  // end points and gamma, unused for sRGB
    auto byte = [](float v) { return static_cast<uint32_t>(std::lround(clamp01(v) * 255.f)); };
    for (int y = icon.height() - 1; y >= 0; --y)
        for (int x = 0; x < icon.width(); ++x) {
            const Rgb c = icon.at(x, y);
            put(byte(icon.alpha(x, y)) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b), 4);
        }
    return out;
}

namespace {

void put_le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Above this size an icon is stored as PNG, which keeps the 256-pixel one small.
constexpr int kLargestBitmapIcon = 128;

// One icon image as an .ico holds it without PNG: an info header giving twice the height (the
// colour rows, then the mask's), BGRA rows from the bottom, then the 1-bit mask rows, each
// padded to four bytes, set where the icon is wholly transparent.
std::vector<uint8_t> ico_bitmap(const Image& icon) {
    const int w = icon.width(), h = icon.height();
    const uint32_t mask_row = static_cast<uint32_t>((w + 31) / 32 * 4);
    const uint32_t colour_bytes = static_cast<uint32_t>(w * h * 4);
    std::vector<uint8_t> out;
    out.reserve(40 + colour_bytes + mask_row * h);
    put_le(out, 40, 4);
    put_le(out, static_cast<uint32_t>(w), 4);
    put_le(out, static_cast<uint32_t>(2 * h), 4);
    put_le(out, 1, 2);   // planes
    put_le(out, 32, 2);  // bits per pixel
    put_le(out, 0, 4);   // BI_RGB
    put_le(out, colour_bytes + mask_row * static_cast<uint32_t>(h), 4);
    for (int i = 0; i < 4; ++i) put_le(out, 0, 4);  // resolution and palette: unused
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = icon.at(x, y);
            out.insert(out.end(), {byte(c.b), byte(c.g), byte(c.r), byte(icon.alpha(x, y))});
        }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(mask_row, 0);
        for (int x = 0; x < w; ++x)
            if (byte(icon.alpha(x, y)) == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<uint8_t> ico_png(const Image& icon) {
    const std::vector<uint8_t> rgba = rgba_bytes(icon);
    int size = 0;
    uint8_t* png = assetgen_encode_png_rgba(icon.width(), icon.height(), rgba.data(), &size);
    if (!png) throw std::runtime_error("cannot encode a PNG for the icon");
    std::vector<uint8_t> out(png, png + size);
    assetgen_free_png(png);
    return out;
}

}  // namespace

std::vector<uint8_t> encode_ico(const std::vector<Image>& icons) {
    constexpr uint32_t kHeader = 6, kEntry = 16;
    std::vector<std::vector<uint8_t>> images;
    for (const Image& icon : icons) {
        if (icon.width() < 1 || icon.width() > 256 || icon.height() != icon.width())
            throw std::invalid_argument("an icon is square, 1 to 256 pixels wide");
        images.push_back(icon.width() > kLargestBitmapIcon ? ico_png(icon) : ico_bitmap(icon));
    }
    std::vector<uint8_t> out;
    put_le(out, 0, 2);
    put_le(out, 1, 2);  // an icon, not a cursor
    put_le(out, static_cast<uint32_t>(icons.size()), 2);
    uint32_t offset = kHeader + kEntry * static_cast<uint32_t>(icons.size());
    for (size_t i = 0; i < icons.size(); ++i) {
        const uint32_t side = static_cast<uint32_t>(icons[i].width());
        out.push_back(static_cast<uint8_t>(side == 256 ? 0 : side));  // 0 stands for 256
        out.push_back(static_cast<uint8_t>(side == 256 ? 0 : side));
        out.push_back(0);  // no palette
        out.push_back(0);
        put_le(out, 1, 2);   // planes
        put_le(out, 32, 2);  // bits per pixel
        put_le(out, static_cast<uint32_t>(images[i].size()), 4);
        put_le(out, offset, 4);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const std::vector<uint8_t>& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

platform::Result<void> write_windows_icon(const std::filesystem::path& file) {
    const Image lake = paint_reward_picture(1);
    std::vector<Image> icons;
    for (int size : kWindowsIconSizes) icons.push_back(paint_icon(lake, size));
    const std::vector<uint8_t> ico = encode_ico(icons);
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) return platform::fail(platform::ErrorKind::Failed, "cannot write " + file.string());
    auto written = pack::write_file_atomically(file.string(), ico);
    if (!written) return platform::fail(written.error().kind, "cannot write " + file.string());
    return {};
}

namespace {

platform::Result<void> write_icon_file(const std::filesystem::path& file, const Image& lake,
                                       int size) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) return platform::fail(platform::ErrorKind::Failed, "cannot write " + file.string());
    return write_png_rgba(file, paint_icon(lake, size));
}

}  // namespace

platform::Result<void> write_web_icons(const std::filesystem::path& dir) {
    const Image lake = paint_reward_picture(1);
    for (int size : kWebIconSizes) {
        auto written = write_icon_file(dir / ("icon-" + std::to_string(size) + ".png"), lake, size);
        if (!written) return written;
    }
    return {};
}

platform::Result<void> write_icons(const std::filesystem::path& dir, const std::string& app_id) {
    const Image lake = paint_reward_picture(1);
    for (int size : kIconSizes) {
        const std::string edge = std::to_string(size);
        const auto file = dir / "hicolor" / (edge + "x" + edge) / "apps" / (app_id + ".png");
        auto written = write_icon_file(file, lake, size);
        if (!written) return written;
    }
    return {};
}

}  // namespace assetgen
