#include "pictures/picture_folder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "pictures/decode.h"
#include "pictures/fit.h"
#include "platform/backend.h"
#include "platform/data_file.h"
#include "platform/file_io.h"

namespace pictures {

namespace fs = std::filesystem;

namespace {

// Enough of the file for any header: a JPEG's size may follow a large EXIF block.
constexpr uint64_t kHeaderBytes = 256u << 10;

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool picture_name(const fs::path& file) {
    const std::string ext = lower(file.extension().string());
    return ext == ".png" || ext == ".jpg" || ext == ".jpeg" || ext == ".gif" || ext == ".bmp";
}

std::string name_of(const fs::path& file) {
    return platform::utf8_text(file.filename());
}

// The name a copy of different bytes takes: "photo-2.png", "photo-3.png", ...
fs::path free_name(const fs::path& folder, const fs::path& name) {
    std::error_code ec;
    if (!fs::exists(folder / name, ec)) return folder / name;
    for (int n = 2;; ++n) {
        fs::path other = name.stem();
        other += "-" + std::to_string(n);
        other += name.extension();
        if (!fs::exists(folder / other, ec)) return folder / other;
    }
}

bool folder_holds(const fs::path& folder, const std::vector<uint8_t>& bytes) {
    for (const fs::path& file : list_pictures(folder)) {
        std::error_code ec;
        if (fs::file_size(file, ec) != bytes.size() || ec) continue;
        const platform::FileBytes held = platform::read_data_file(file, bytes.size());
        if (held && *held == bytes) return true;
    }
    return false;
}

// One file of a drop: refused with its reason, or in the folder afterwards.
platform::Result<void> import_one(const fs::path& folder, const fs::path& file) {
    platform::Result<std::vector<uint8_t>> bytes = read_picture_file(file);
    if (!bytes) return bytes.error();
    if (const auto picture = decode_picture(*bytes); !picture) return picture.error();
    if (folder_holds(folder, *bytes)) return {};
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path target = free_name(folder, file.filename());
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (const auto written = platform::replace_file(target, text); !written) return written.error();
    return {};
}

}  // namespace

fs::path picture_folder(const fs::path& settings_file) {
    return settings_file.parent_path() / kFolderName;
}

std::vector<fs::path> list_pictures(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        std::error_code kind;
        if (entry.is_regular_file(kind) && picture_name(entry.path()))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return name_of(a) < name_of(b); });
    return files;
}

// The file's length is checked first; the header checks are decode_picture's own.
bool looks_usable(const fs::path& file) {
    std::error_code ec;
    const uint64_t size = fs::file_size(file, ec);
    if (ec || size > kMaxPictureFileBytes) return false;
    const platform::FileBytes head = platform::DataFile(file).read(0, kHeaderBytes);
    return head && check_picture(*head).ok();
}

std::vector<fs::path> usable_pictures(const fs::path& folder) {
    std::vector<fs::path> files = list_pictures(folder);
    std::erase_if(files, [](const fs::path& file) { return !looks_usable(file); });
    return files;
}

ImportReport import_pictures(const fs::path& folder, const std::vector<fs::path>& files) {
    ImportReport report;
    for (const fs::path& file : files) {
        if (const platform::Result<void> done = import_one(folder, file); !done) {
            report.refused.push_back({name_of(file), done.error().reason});
        } else {
            ++report.taken;
        }
    }
    return report;
}

platform::Result<gfx::Surface> load_stage_picture(const fs::path& file) {
    const platform::Result<std::vector<uint8_t>> bytes = read_picture_file(file);
    if (!bytes) return bytes.error();
    const platform::Result<gfx::Surface> picture = decode_picture(*bytes);
    if (!picture) return picture.error();
    return fit_picture(*picture);
}

}  // namespace pictures
