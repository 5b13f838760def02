#include "support/fixture_pack.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>

#include "gfx/archive.h"
#include "gfx/text.h"
#include "packwriter/packwriter.h"
#include "platform/executable.h"
#include "platform/file_io.h"
#include "sound/sound.h"

namespace fixture {

namespace {

void write_bytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// A sheet of `count` cells of one size, each filled with its own colour, anchored top-left,
// laid out `per_row` to a row.
gfx::Surface solid_sheet(int piece, int count, int w, int h, int per_row = 16) {
    std::vector<std::vector<pack::SheetCell>> rows;
    for (int i = 0; i < count; ++i) {
        if (i % per_row == 0) rows.emplace_back();
        rows.back().push_back({gfx::Surface(w, h, cell_colour(piece, i)), {0, 0}});
    }
    return pack::compose_sheet(rows);
}

gfx::Surface sized_sheet(int piece, const std::vector<std::pair<int, int>>& sizes) {
    std::vector<std::vector<pack::SheetCell>> rows(1);
    for (size_t i = 0; i < sizes.size(); ++i) {
        rows[0].push_back(
            {gfx::Surface(sizes[i].first, sizes[i].second, cell_colour(piece, static_cast<int>(i))),
             {0, 0}});
    }
    return pack::compose_sheet(rows);
}

}  // namespace

uint32_t picture_pixel(int slice, int x, int y) {
    const uint32_t r = static_cast<uint32_t>(slice * 12 + 10);
    const uint32_t g = static_cast<uint32_t>((x / 80) * 30 + 5);
    const uint32_t b = static_cast<uint32_t>((y / 80) * 40 + 3);
    return (r << 16) | (g << 8) | b;
}

gfx::Surface picture(int slice) {
    gfx::Surface s(640, 480);
    // Filled a tile's width at a time: every process of the suite builds 16 of these.
    for (int y = 0; y < 480; ++y) {
        uint32_t* row = s.row(y);
        for (int x = 0; x < 640; x += 80) std::fill_n(row + x, 80, picture_pixel(slice, x, y));
    }
    return s;
}

uint32_t cell_colour(int piece, int cell) {
    return (static_cast<uint32_t>(40 + piece * 15) << 16) | (static_cast<uint32_t>(cell * 3) << 8) |
           0x80u;
}

int glyph_width(int glyph) {
    return 6 + glyph % 5;
}

uint32_t glyph_colour(char ch) {
    return cell_colour(gfx::kFontPiece, gfx::glyph_index(ch));
}

std::vector<gfx::Surface> sheet_pieces() {
    std::vector<gfx::Surface> p;
    p.push_back(sized_sheet(
        0, {{112, 39}, {137, 39}, {137, 41}, {137, 39}, {183, 40}, {137, 41}, {137, 44}}));
    p.push_back(solid_sheet(1, 4, 47, 23, 2));
    p.push_back(solid_sheet(2, 4, 23, 23, 2));
    p.push_back(solid_sheet(3, 4, 80, 80));
    p.push_back(pack::mark_picture_in_place(gfx::Surface(80, 80, cell_colour(4, 0)), {}));
    gfx::Surface thumbs(320, 400);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 320; ++x) thumbs.set_pixel(x, y, cell_colour(5, (y / 80) * 4 + x / 80));
    p.push_back(pack::mark_picture_in_place(std::move(thumbs), {}));
    p.push_back(solid_sheet(6, 2, 47, 23, 1));
    p.push_back(solid_sheet(7, 1, 320, 100));
    p.push_back(solid_sheet(8, 4, 60, 60));
    std::vector<std::vector<pack::SheetCell>> font(4);
    for (int i = 0; i < 50; ++i) {
        font[static_cast<size_t>(i / 16)].push_back(
            {gfx::Surface(glyph_width(i), 12, cell_colour(9, i)), {0, 0}});
    }
    p.push_back(pack::compose_sheet(font));
    p.push_back(solid_sheet(10, 127, 6, 10));
    p.push_back(solid_sheet(11, 6, 20, 30));
    p.push_back(solid_sheet(12, 3, 6, 6));
    return p;
}

namespace {

std::array<const char*, sound::kMusicFiles.size() + 1> sound_names() {
    std::array<const char*, sound::kMusicFiles.size() + 1> names{};
    std::copy(sound::kMusicFiles.begin(), sound::kMusicFiles.end(), names.begin());
    names.back() = sound::kEffectFile;
    return names;
}

platform::SharedBytes shared(std::vector<uint8_t> bytes) {
    return std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

// Each sound starts with its format's tag, which is all the headless device looks at.
void add_sounds(platform::DataFiles& files) {
    const auto tagged = [](const char* tag, size_t size, uint8_t filler) {
        std::vector<uint8_t> bytes(size, filler);
        std::copy(tag, tag + 4, bytes.begin());
        return shared(std::move(bytes));
    };
    for (size_t i = 0; i < sound::kMusicFiles.size(); ++i) {
        files[sound::kMusicFiles[i]] = tagged("OggS", 100 + i, 'm');
    }
    files[sound::kEffectFile] = tagged("RIFF", 64, 'w');
}

platform::DataFiles build_pack() {
    std::vector<gfx::Surface> pictures;
    for (int n = 0; n < gfx::kPictureCount; ++n) pictures.push_back(picture(n));
    auto pictures_archive = pack::build_picture_archive(pictures);
    if (!pictures_archive)
        throw std::runtime_error("fixture pack: " + pictures_archive.error().reason);
    auto sheets_archive = pack::build_sheet_archive(sheet_pieces());
    if (!sheets_archive) throw std::runtime_error("fixture pack: " + sheets_archive.error().reason);
    platform::DataFiles files;
    files[gfx::kPictureArchive] = shared(std::move(*pictures_archive));
    files[gfx::kSheetArchive] = shared(std::move(*sheets_archive));
    add_sounds(files);
    return files;
}

}  // namespace

namespace {

// Building the pack costs every test process a good part of its time, so the first process
// keeps a copy beside the test binary and the others read it. The copy is named after the
// binary's own size and time: a relinked binary, whose fixture may differ, never reads it.
std::filesystem::path cache_file() {
    namespace fs = std::filesystem;
    const fs::path binary = platform::executable_path();
    const platform::Result<platform::FileStamp> stamp = platform::stamp_file(binary);
    if (binary.empty() || !stamp) return {};
    return binary.parent_path() / (".fixture-pack-" + std::to_string(stamp->size) + "-" +
                                   std::to_string(stamp->modified_ns));
}

// Each file as its name, a zero byte, its length in eight bytes and its bytes.
std::string serialise(const platform::DataFiles& files) {
    std::string out;
    for (const auto& [name, bytes] : files) {
        out.append(name).push_back('\0');
        for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>(bytes->size() >> (8 * i)));
        out.append(bytes->begin(), bytes->end());
    }
    return out;
}

std::optional<platform::DataFiles> deserialise(std::span<const uint8_t> in) {
    platform::DataFiles files;
    while (!in.empty()) {
        const auto zero = std::find(in.begin(), in.end(), uint8_t{0});
        const size_t end = static_cast<size_t>(zero - in.begin());
        if (zero == in.end() || in.size() - end - 1 < 8) return std::nullopt;
        std::string name(in.begin(), zero);
        in = in.subspan(end + 1);
        uint64_t size = 0;
        for (size_t i = 0; i < 8; ++i) size |= uint64_t{in[i]} << (8 * i);
        in = in.subspan(8);
        if (size > in.size()) return std::nullopt;
        files[std::move(name)] = shared(
            std::vector<uint8_t>(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(size)));
        in = in.subspan(size);
    }
    return files;
}

platform::DataFiles cached_pack() {
    const std::filesystem::path cache = cache_file();
    if (cache.empty()) return build_pack();
    if (const platform::FileBytes kept = platform::read_data_file(cache); kept) {
        if (auto files = deserialise(*kept);
            files && files->contains(gfx::kPictureArchive) && files->contains(gfx::kSheetArchive))
            return std::move(*files);
    }
    platform::DataFiles files = build_pack();
    // Copies for earlier builds of the binary go; the new one is written whole or not at all,
    // and a failure only means that the next process builds the pack too.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(cache.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".fixture-pack-") && entry.path() != cache && !name.ends_with(".tmp"))
            std::filesystem::remove(entry.path(), ec);
    }
    static_cast<void>(platform::replace_file(cache, serialise(files)));
    return files;
}

}  // namespace

const platform::DataFiles& pack_files() {
    static const platform::DataFiles files = cached_pack();
    return files;
}

void write_pack(const std::filesystem::path& dir) {
    for (const char* name : {gfx::kPictureArchive, gfx::kSheetArchive}) {
        write_bytes(dir / name, *pack_files().at(name));
    }
}

void write_sounds(const std::filesystem::path& dir) {
    for (const char* name : sound_names()) write_bytes(dir / name, *pack_files().at(name));
}

std::filesystem::path make_temp_dir(const char* tag) {
    static std::atomic<int> counter{0};
    auto dir = std::filesystem::temp_directory_path() /
               ("vasul-" + std::string(tag) + "-" + std::to_string(::getpid()) + "-" +
                std::to_string(counter++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::filesystem::path make_data_folder(const char* tag, const std::filesystem::path& generated) {
    namespace fs = std::filesystem;
    const fs::path dir = make_temp_dir(tag);
    if (fs::exists(generated / "image/data.bmp") && fs::exists(generated / "image/dat2.bmp")) {
        for (const auto& entry : fs::directory_iterator(generated)) {
            const std::string name = entry.path().filename().string();
            if (name == "vasul.ini" || name.starts_with(".")) continue;
            fs::copy(entry.path(), dir / name, fs::copy_options::recursive);
        }
    } else {
        write_pack(dir);
        write_sounds(dir);
    }
    return dir;
}

std::string file_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace fixture
