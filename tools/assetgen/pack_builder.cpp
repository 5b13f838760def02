#include "assetgen/pack_builder.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <future>
#include <thread>

#include "app/data_paths.h"
#include "assetgen/icons.h"
#include "assetgen/music.h"
#include "assetgen/photo_import.h"
#include "assetgen/reward_pictures.h"
#include "assetgen/screens.h"
#include "assetgen/sheets.h"
#include "assetgen/viewer_script.h"
#include "gfx/archive.h"
#include "packwriter/packwriter.h"
#include "rules/difficulty.h"
#include "settings/settings.h"
#include "sound/sound.h"

namespace assetgen {

namespace {

// The tracks are most of the pack's making and each stands alone, so they are composed on as
// many threads as there are cores (each holds some 60 MB while it is mixed). An exception in
// one (a mistake in the code) is raised again here.
std::vector<std::vector<uint8_t>> compose_tracks() {
    std::vector<std::vector<uint8_t>> tracks(kTrackCount);
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int t = next++; t < kTrackCount; t = next++)
            tracks[static_cast<size_t>(t)] = compose_track_ogg(t);
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::future<void>> workers;
    for (unsigned i = 0; i < std::min(cores, static_cast<unsigned>(kTrackCount)); ++i)
        workers.push_back(std::async(std::launch::async, work));
    for (auto& w : workers) w.get();
    return tracks;
}

}  // namespace

std::string default_settings() {
    struct Setting {
        settings::Setting key;
        int value;
    };
    constexpr int kStep = 7;
    constexpr int kNorm = 1;
    static_assert(std::string_view(rules::kDifficultyNames[kNorm]) == "NORM");
    // In the order the options screen lists them; a new section goes at the end of the file
    // and a new key at the end of its section, as every write of the game does.
    const Setting defaults[] = {
        {settings::kMusicOn, 1},        {settings::kMusicLevel, kStep},
        {settings::kEffectOn, 1},       {settings::kEffectLevel, kStep},
        {settings::kDifficulty, kNorm}, {settings::kTestVolume, kStep},
    };
    std::string text;
    std::string_view section;
    for (const Setting& s : defaults) {
        const settings::SettingSpec& key = settings::spec(s.key);
        if (section != key.section) {
            section = key.section;
            text.append("[").append(section).append("]\n");
        }
        text.append(key.key).append("=").append(std::to_string(s.value)).append("\n");
    }
    return text;
}

platform::Result<Artwork> build_artwork(const PackOptions& options) {
    if (options.pictures.size() > static_cast<size_t>(kRewardCount)) {
        return platform::fail(
            platform::ErrorKind::Invalid,
            "at most " + std::to_string(kRewardCount) + " pictures can replace the rewards");
    }
    // Outside files first: a picture that can't be read stops everything before any work.
    std::array<Image, kRewardCount> rewards;
    for (size_t i = 0; i < options.pictures.size(); ++i) {
        auto picture = import_picture(options.pictures[i]);
        if (!picture) return picture.error();
        rewards[i] = std::move(*picture);
    }
    for (size_t i = options.pictures.size(); i < rewards.size(); ++i)
        rewards[i] = paint_reward_picture(static_cast<int>(i) + 1);
    auto opened = open_fonts();
    if (!opened) return opened.error();
    const Fonts& fonts = *opened;

    Artwork art;
    const TitleArt title = paint_title(fonts, rewards);
    art.pictures.push_back(title.picture.to_surface());
    for (const Image& r : rewards) art.pictures.push_back(r.to_surface());
    for (int slice = 9; slice < gfx::kPictureCount; ++slice)
        art.pictures.push_back(paint_screen(slice, fonts).to_surface());

    SheetInputs in;
    in.fonts = &fonts;
    in.title = &title;
    for (size_t i = 0; i < rewards.size(); ++i) in.rewards[i] = &rewards[i];
    art.pieces = build_sheet_pieces(in);

    auto script = build_viewer_script(script_font_widths(*fonts.sans));
    if (!script) return script.error();
    art.script = std::move(*script);
    return art;
}

platform::Result<std::vector<PackFile>> build_pack(const Artwork& art, const PackOptions& options) {
    std::vector<PackFile> files;
    auto pictures = pack::build_picture_archive(art.pictures);
    if (!pictures) return pictures.error();
    auto sheets = pack::build_sheet_archive(art.pieces);
    if (!sheets) return sheets.error();
    files.push_back({gfx::kPictureArchive, std::move(*pictures)});
    files.push_back({gfx::kSheetArchive, std::move(*sheets)});
    files.push_back({"vasul.spt", std::vector<uint8_t>(art.script.begin(), art.script.end())});
    const std::string ini = default_settings();
    files.push_back({kSettingsFile, std::vector<uint8_t>(ini.begin(), ini.end()), true});
    files.push_back(
        {app::kIconFile, encode_icon_bmp(paint_icon(paint_reward_picture(1), kWindowIconSize))});
    if (options.sounds) {
        std::vector<std::vector<uint8_t>> tracks = compose_tracks();
        for (size_t t = 0; t < tracks.size(); ++t)
            files.push_back({sound::kMusicFiles[t], std::move(tracks[t])});
        files.push_back({sound::kEffectFile, make_snap_wav()});
    }
    return files;
}

platform::Result<void> write_pack(const std::filesystem::path& dir,
                                  const std::vector<PackFile>& files) {
    for (const PackFile& f : files) {
        const std::filesystem::path path = dir / f.path;
        std::error_code ec;
        if (f.keep_existing && std::filesystem::exists(path, ec)) continue;
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec) {
            return platform::fail(
                platform::ErrorKind::Failed,
                "cannot create the folder " + path.parent_path().string() + ": " + ec.message());
        }
        if (auto written = pack::write_file_atomically(path.string(), f.bytes); !written)
            return platform::fail(written.error().kind, "cannot write " + path.string());
    }
    return {};
}

}  // namespace assetgen
