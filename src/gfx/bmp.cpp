#include "gfx/bmp.h"

#include <stb_image.h>

#include "gfx/byte_reader.h"

namespace gfx {

namespace {

constexpr int32_t kMaxDimension = 16384;

bool fail(std::string* why, const char* text) {
    if (why) *why = text;
    return false;
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFFu);
    put16(out, v >> 16);
}

uint32_t row_stride24(int width) {
    return (static_cast<uint32_t>(width) * 3u + 3u) & ~3u;
}

}  // namespace

std::optional<BmpInfo> read_bmp_info(std::span<const uint8_t> bytes, std::string* why) {
    ByteReader in(bytes);
    BmpInfo info;
    const uint8_t b0 = in.u8();
    const uint8_t b1 = in.u8();
    info.file_size = in.u32();
    in.u32();  // reserved
    info.data_offset = in.u32();
    const uint32_t header_size = in.u32();
    if (!in.ok()) return fail(why, "too short for a BMP header"), std::nullopt;
    if (b0 != 'B' || b1 != 'M') return fail(why, "no BM signature"), std::nullopt;
    if (header_size < 40) return fail(why, "unsupported BMP header"), std::nullopt;
    info.width = in.i32();
    info.height = in.i32();
    in.u16();  // planes
    info.bits_per_pixel = in.u16();
    info.compression = in.u32();
    if (!in.ok()) return fail(why, "truncated BMP header"), std::nullopt;
    if (info.width <= 0 || info.width > kMaxDimension || info.height == 0 ||
        info.height > kMaxDimension || info.height < -kMaxDimension) {
        return fail(why, "BMP size out of range"), std::nullopt;
    }
    if (info.data_offset >= bytes.size()) return fail(why, "BMP pixel data missing"), std::nullopt;
    const uint64_t rows = static_cast<uint64_t>(info.height < 0 ? -info.height : info.height);
    if (info.compression == 0 || info.compression == 3) {
        // Uncompressed pixels must all be in the file, or the decoder would read past it.
        const uint64_t stride =
            (static_cast<uint64_t>(info.width) * info.bits_per_pixel + 31) / 32 * 4;
        if (info.data_offset + stride * rows > bytes.size()) {
            return fail(why, "BMP pixel data truncated"), std::nullopt;
        }
    } else if (static_cast<uint64_t>(info.width) * rows > 4096u * 4096u) {
        return fail(why, "compressed BMP too large"), std::nullopt;
    }
    return info;
}

std::optional<Surface> decode_bmp(std::span<const uint8_t> bytes, std::string* why) {
    auto info = read_bmp_info(bytes, why);
    if (!info) return std::nullopt;
    int w = 0, h = 0, channels = 0;
    stbi_uc* rgba =
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
    if (!rgba) {
        if (why) *why = stbi_failure_reason() ? stbi_failure_reason() : "BMP does not decode";
        return std::nullopt;
    }
    Surface surface(w, h);
    const stbi_uc* p = rgba;
    for (uint32_t& px : surface.pixels()) {
        px = (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
        p += 4;
    }
    stbi_image_free(rgba);
    return surface;
}

uint32_t bmp24_size(int width, int height) {
    return 54u + row_stride24(width) * static_cast<uint32_t>(height);
}

std::vector<uint8_t> encode_bmp24(const Surface& surface, uint32_t padding) {
    const int w = surface.width();
    const int h = surface.height();
    const uint32_t stride = row_stride24(w);
    const uint32_t offset = 54u;
    const uint32_t size = offset + stride * static_cast<uint32_t>(h) + padding;
    std::vector<uint8_t> out;
    out.reserve(size);
    out.push_back('B');
    out.push_back('M');
    put32(out, size);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(w));
    put32(out, static_cast<uint32_t>(h));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, stride * static_cast<uint32_t>(h));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    out.resize(offset, 0);
    for (int y = h - 1; y >= 0; --y) {
        const uint32_t* row = surface.row(y);
        for (int x = 0; x < w; ++x) {
            out.push_back(static_cast<uint8_t>(row[x]));
            out.push_back(static_cast<uint8_t>(row[x] >> 8));
            out.push_back(static_cast<uint8_t>(row[x] >> 16));
        }
        for (uint32_t pad = static_cast<uint32_t>(w) * 3u; pad < stride; ++pad) out.push_back(0);
    }
    out.resize(size, 0);
    return out;
}

}  // namespace gfx
