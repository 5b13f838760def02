#include "gfx/bmp.h"

#include <algorithm>
#include <array>
#include <bit>

#include "gfx/byte_reader.h"

// The reader is our own rather than stb_image's: stb refuses files whose pixels start after a
// gap (which Windows honours), and a direct reader of the common 24-bit form is several times
// faster than the general one.
namespace gfx {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

platform::Error invalid(const char* text) {
    return {platform::ErrorKind::Invalid, text};
}

// Where the parts of a checked file lie.
struct Layout {
    BmpInfo info;
    uint32_t palette_at = 0;
    uint32_t palette_entries = 0;  // only those that lie before the pixels
    uint32_t pixels_at = 0;
};

bool known_header_size(uint32_t n) {
    return n == kCoreHeaderSize || n == kInfoHeaderSize || n == 52 || n == 56 || n == 108 ||
           n == 124;
}

// The info header after the file header. Masks are read only where the pixels use them: at
// byte 54 both inside the longer headers and right after a 40-byte one.
bool read_info_header(ByteReader& in, BmpInfo& info) {
    if (info.header_size == kCoreHeaderSize) {
        info.width = in.u16();
        info.height = in.u16();
        in.u16();  // planes
        info.bits_per_pixel = in.u16();
        return in.ok();
    }
    info.width = in.i32();
    info.height = in.i32();
    in.u16();  // planes
    info.bits_per_pixel = in.u16();
    info.compression = in.u32();
    in.bytes(12);  // image size and resolution, which only matter to printers
    info.colours_used = in.u32();
    in.u32();  // important colours
    if (info.compression == kBiBitfields) {
        info.red_mask = in.u32();
        info.green_mask = in.u32();
        info.blue_mask = in.u32();
    }
    return in.ok();
}

bool valid_format(const BmpInfo& i) {
    const uint16_t b = i.bits_per_pixel;
    if (i.header_size == kCoreHeaderSize) return b == 1 || b == 4 || b == 8 || b == 24;
    switch (i.compression) {
        case kBiRgb:
            return b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32;
        case kBiRle8:
            return b == 8 && i.height > 0;
        case kBiRle4:
            return b == 4 && i.height > 0;
        case kBiBitfields:
            return b == 16 || b == 32;
        default:
            return false;
    }
}

bool contiguous(uint32_t mask) {
    return (mask & (mask + (mask & (~mask + 1)))) == 0;
}

void default_masks(BmpInfo& i) {
    if (i.compression == kBiBitfields) return;
    if (i.bits_per_pixel == 16) {
        i.red_mask = 0x7C00, i.green_mask = 0x03E0, i.blue_mask = 0x001F;
    } else if (i.bits_per_pixel > 8) {
        i.red_mask = 0xFF0000, i.green_mask = 0x00FF00, i.blue_mask = 0x0000FF;
    }
}

const char* check_size(const BmpInfo& i) {
    const int64_t rows = i.height < 0 ? -static_cast<int64_t>(i.height) : i.height;
    if (i.width <= 0 || rows == 0) return "BMP has no pixels";
    if (i.width > kMaxPictureSide || rows > kMaxPictureSide) return "BMP larger than the game uses";
    if (i.width * rows > kMaxPicturePixels) return "BMP larger than the game uses";
    return nullptr;
}

// Finds the colour table and the pixels. A data offset of 0 means the pixels follow the table;
// any other offset is honoured, gap or not, as long as it lies past the headers. A table that
// the offset cuts short keeps the entries before it.
const char* locate(Layout& l, size_t size) {
    const BmpInfo& i = l.info;
    const bool masks_after = i.compression == kBiBitfields && i.header_size == kInfoHeaderSize;
    l.palette_at = kFileHeaderSize + i.header_size + (masks_after ? 12 : 0);
    const uint32_t entry = i.header_size == kCoreHeaderSize ? 3 : 4;
    uint32_t entries = i.colours_used;
    if (i.bits_per_pixel <= 8) {
        const uint32_t most = 1u << i.bits_per_pixel;
        entries = entries == 0 || entries > most ? most : entries;
    }
    const uint64_t table_end = l.palette_at + uint64_t{std::min(entries, 256u)} * entry;
    const uint64_t pixels_at = i.data_offset ? i.data_offset : table_end;
    if (pixels_at < l.palette_at) return "BMP pixel data overlaps its header";
    if (pixels_at >= size) return "BMP pixel data missing";
    l.pixels_at = static_cast<uint32_t>(pixels_at);
    if (i.bits_per_pixel <= 8)
        l.palette_entries = std::min(entries, (l.pixels_at - l.palette_at) / entry);
    return nullptr;
}

uint64_t stride_of(const BmpInfo& i) {
    return (static_cast<uint64_t>(i.width) * i.bits_per_pixel + 31) / 32 * 4;
}

uint32_t row_count(const BmpInfo& i) {
    return static_cast<uint32_t>(i.height < 0 ? -static_cast<int64_t>(i.height) : i.height);
}

const char* check(Layout& l, size_t size) {
    BmpInfo& i = l.info;
    if (!valid_format(i)) return "BMP form not supported";
    if (const char* bad = check_size(i)) return bad;
    default_masks(i);
    if (!contiguous(i.red_mask) || !contiguous(i.green_mask) || !contiguous(i.blue_mask)) {
        return "BMP colour masks not contiguous";
    }
    if (const char* bad = locate(l, size)) return bad;
    const bool compressed = i.compression == kBiRle8 || i.compression == kBiRle4;
    if (!compressed && l.pixels_at + stride_of(i) * row_count(i) > size) {
        return "BMP pixel data truncated";
    }
    return nullptr;
}

platform::Result<Layout> parse(std::span<const uint8_t> bytes) {
    ByteReader in(bytes);
    Layout l;
    BmpInfo& info = l.info;
    const uint8_t b0 = in.u8();
    const uint8_t b1 = in.u8();
    info.file_size = in.u32();
    in.u32();  // reserved
    info.data_offset = in.u32();
    info.header_size = in.u32();
    if (!in.ok()) return invalid("too short for a BMP header");
    if (b0 != 'B' || b1 != 'M') return invalid("no BM signature");
    if (!known_header_size(info.header_size)) return invalid("unsupported BMP header");
    if (!read_info_header(in, info)) return invalid("truncated BMP header");
    if (const char* bad = check(l, bytes.size())) return invalid(bad);
    return l;
}

// A colour mask as a shift and a width, and the channel widened to 8 bits by repeating its
// bits, so that a full 5-bit value becomes 255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(uint32_t m)
        : mask(m), shift(m ? std::countr_zero(m) : 0), bits(std::popcount(m)) {}
    uint32_t to8(uint32_t pixel) const {
        const uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return v >> (bits - 8);
        if (bits == 0) return 0;
        uint32_t out = 0;
        int have = 0;
        for (; have < 8; have += bits) out = (out << bits) | v;
        return out >> (have - 8);
    }
};

// How to turn one file row into pixels.
struct RowDecoder {
    int bits;
    std::array<uint32_t, 256> palette{};
    Channel red, green, blue;
    bool plain;       // 24 bits, or 32 with the usual byte masks
    bool keep_alpha;  // a plain 32-bit pixel's fourth byte becomes the top byte

    RowDecoder(const BmpInfo& i, BmpAlpha alpha)
        : bits(i.bits_per_pixel),
          red(i.red_mask),
          green(i.green_mask),
          blue(i.blue_mask),
          plain(i.bits_per_pixel == 24 || (i.bits_per_pixel == 32 && i.red_mask == 0xFF0000 &&
                                           i.green_mask == 0xFF00 && i.blue_mask == 0xFF)),
          keep_alpha(alpha == BmpAlpha::Keep && bits == 32) {}

    uint32_t masked(uint32_t v) const {
        return (red.to8(v) << 16) | (green.to8(v) << 8) | blue.to8(v);
    }

    void indexed(const uint8_t* p, uint32_t* out, int w) const {
        const int per_byte = 8 / bits;
        const unsigned low = (1u << bits) - 1;
        for (int x = 0; x < w; ++x) {
            const int shift = 8 - bits * (x % per_byte + 1);
            out[x] = palette[(p[x / per_byte] >> shift) & low];
        }
    }

    void decode(const uint8_t* p, uint32_t* out, int w) const {
        if (bits <= 8) return indexed(p, out, w);
        const int step = bits / 8;
        if (plain && keep_alpha) {
            for (int x = 0; x < w; ++x, p += 4) {
                out[x] = p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
            }
        } else if (plain) {
            for (int x = 0; x < w; ++x, p += step) out[x] = p[0] | (p[1] << 8) | (p[2] << 16);
        } else if (bits == 16) {
            for (int x = 0; x < w; ++x, p += 2) out[x] = masked(p[0] | (p[1] << 8));
        } else {
            for (int x = 0; x < w; ++x, p += 4) {
                out[x] = masked(p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24));
            }
        }
    }
};

void read_palette(std::span<const uint8_t> bytes, const Layout& l, RowDecoder& d) {
    const uint32_t entry = l.info.header_size == kCoreHeaderSize ? 3 : 4;
    ByteReader in(bytes);
    in.seek(l.palette_at);
    for (uint32_t n = 0; n < l.palette_entries; ++n) {
        const auto e = in.bytes(entry);
        if (e.empty()) return;
        d.palette[n] = (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
    }
}

void decode_rows(std::span<const uint8_t> bytes, const Layout& l, const RowDecoder& d, Surface& s) {
    const auto stride = static_cast<size_t>(stride_of(l.info));
    const bool top_down = l.info.height < 0;
    ByteReader in(bytes);
    in.seek(l.pixels_at);
    for (int i = 0; i < s.height(); ++i) {
        const auto row = in.bytes(stride);  // all there: check() measured the rows
        if (row.empty()) return;
        d.decode(row.data(), s.row(top_down ? i : s.height() - 1 - i), s.width());
    }
}

// Run-length pixels, bottom-up. Runs are cut at the right edge rather than wrapped, and
// pixels that a delta or an early end of line skips stay black.
class RleDecoder {
  public:
    RleDecoder(const RowDecoder& d, Surface& s, bool four_bit)
        : palette_(d.palette), s_(s), four_bit_(four_bit) {}

    // False when the data ends before the end-of-bitmap mark or the last row.
    bool run(ByteReader& in) {
        while (y_ < s_.height()) {
            const uint8_t count = in.u8();
            const uint8_t value = in.u8();
            if (!in.ok()) return false;
            if (count > 0) {
                repeat(count, value);
            } else if (value == 0) {
                x_ = 0, ++y_;
            } else if (value == 1) {
                return true;
            } else if (value == 2) {
                x_ += in.u8();
                y_ += in.u8();
            } else if (!literal(in, value)) {
                return false;
            }
        }
        return true;
    }

  private:
    void put(int64_t x, uint8_t index) {
        if (x < s_.width()) s_.row(s_.height() - 1 - static_cast<int>(y_))[x] = palette_[index];
    }

    void repeat(int count, uint8_t value) {
        const int64_t end = std::min<int64_t>(x_ + count, s_.width());
        for (int64_t x = x_; x < end; ++x) {
            put(x, four_bit_ ? ((x - x_) % 2 ? value & 15 : value >> 4) : value);
        }
        x_ += count;
    }

    // n pixels stored as they are, padded to an even number of bytes.
    bool literal(ByteReader& in, int n) {
        const size_t used = four_bit_ ? (n + 1) / 2 : n;
        const auto data = in.bytes(used + used % 2);
        if (data.empty()) return false;
        for (int k = 0; k < n && x_ + k < s_.width(); ++k) {
            put(x_ + k, four_bit_ ? (k % 2 ? data[k / 2] & 15 : data[k / 2] >> 4) : data[k]);
        }
        x_ += n;
        return true;
    }

    const std::array<uint32_t, 256>& palette_;
    Surface& s_;
    bool four_bit_;
    int64_t x_ = 0;
    int64_t y_ = 0;  // rows counted from the bottom
};

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

platform::Result<BmpInfo> read_bmp_info(std::span<const uint8_t> bytes) {
    auto layout = parse(bytes);
    if (!layout) return layout.error();
    return layout->info;
}

platform::Result<Surface> decode_bmp(std::span<const uint8_t> bytes, BmpAlpha alpha) {
    const auto l = parse(bytes);
    if (!l) return l.error();
    RowDecoder d(l->info, alpha);
    read_palette(bytes, *l, d);
    Surface surface(l->info.width, static_cast<int>(row_count(l->info)));
    const bool rle8 = l->info.compression == kBiRle8;
    if (!rle8 && l->info.compression != kBiRle4) {
        decode_rows(bytes, *l, d, surface);
        return surface;
    }
    ByteReader in(bytes);
    in.seek(l->pixels_at);
    if (!RleDecoder(d, surface, !rle8).run(in)) return invalid("BMP run-length data cut short");
    return surface;
}

uint32_t bmp24_size(int width, int height) {
    return 54u + row_stride24(width) * static_cast<uint32_t>(height);
}

std::vector<uint8_t> encode_bmp24(const Surface& surface, uint32_t padding) {
    std::vector<uint8_t> out;
    out.reserve(bmp24_size(surface.width(), surface.height()) + padding);
    append_bmp24(out, surface, padding);
    return out;
}

void append_bmp24(std::vector<uint8_t>& out, const Surface& surface, uint32_t padding) {
    const int w = surface.width();
    const int h = surface.height();
    const uint32_t stride = row_stride24(w);
    const uint32_t offset = 54u;
    const uint32_t size = offset + stride * static_cast<uint32_t>(h) + padding;
    const size_t start = out.size();
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
    // The rows' padding and the gap after them stay zero; the rows are written in place,
    // bottom row first, which is what makes frame dumps and pack building quick.
    out.resize(start + size, 0);
    uint8_t* to = out.data() + start + offset;
    for (int y = h - 1; y >= 0; --y, to += stride) {
        const uint32_t* row = surface.row(y);
        for (size_t x = 0; x < static_cast<size_t>(w); ++x) {
            to[3 * x] = static_cast<uint8_t>(row[x]);
            to[3 * x + 1] = static_cast<uint8_t>(row[x] >> 8);
            to[3 * x + 2] = static_cast<uint8_t>(row[x] >> 16);
        }
    }
}

}  // namespace gfx
