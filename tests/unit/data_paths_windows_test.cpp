// Windows' rules for vasul.ini (app::place_settings_windows), decided from the folders it is
// given, so that they run on Linux as well as under Wine.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/data_paths.h"
#include "support/fixture_pack.h"
#include "support/results.h"

namespace fs = std::filesystem;

namespace {

using app::DataOrigin;

TEST(SettingsPlaceWindows, TheZipsFolderKeepsTheFileWhenWritableElseTheAppDataFolderDoes) {
    const fs::path pack = fs::path("game") / "vasul";
    const fs::path app_data = fs::path("roaming") / "Vasul";
    struct Case {
        const char* name;
        DataOrigin origin;
        const char* ini_flag;
        bool writable;
        bool has_app_data;
        fs::path file;  // empty: no place
        fs::path defaults;
    };
    const Case cases[] = {
        {"beside vasul.exe, writable",
         DataOrigin::BesideProgram,
         "",
         true,
         true,
         pack / "vasul.ini",
         {}},
        {"beside vasul.exe, read-only", DataOrigin::BesideProgram, "", false, true,
         app_data / "vasul.ini", pack / "vasul.ini"},
        {"current folder, writable",
         DataOrigin::CurrentFolder,
         "",
         true,
         true,
         pack / "vasul.ini",
         {}},
        {"current folder, read-only", DataOrigin::CurrentFolder, "", false, true,
         app_data / "vasul.ini", pack / "vasul.ini"},
        {"--data, even read-only", DataOrigin::Flag, "", false, true, pack / "vasul.ini", {}},
        {"VASUL_DATA_DIR is an install", DataOrigin::Environment, "", true, true,
         app_data / "vasul.ini", pack / "vasul.ini"},
        {"--ini wins", DataOrigin::BesideProgram, "mine.ini", false, false, "mine.ini", {}},
        {"read-only, no app data", DataOrigin::BesideProgram, "", false, false, {}, {}},
        {"writable, no app data",
         DataOrigin::BesideProgram,
         "",
         true,
         false,
         pack / "vasul.ini",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app::WindowsFolders folders;
        folders.pack_writable = c.writable;
        if (c.has_app_data) folders.app_data = app_data;
        const auto place = app::place_settings_windows({pack, c.origin}, c.ini_flag, folders);
        const std::string error = why_not(place);
        ASSERT_EQ(place.ok(), !c.file.empty()) << error;
        if (!place) {
            EXPECT_NE(error.find("--ini"), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(place->file, c.file);
        EXPECT_EQ(place->defaults, c.defaults);
    }
}

TEST(SettingsPlaceWindows, TheAppDataFolderIsMadeAndStartsFromThePacksDefaults) {
    const fs::path root = fixture::make_temp_dir("settings-windows");
    const fs::path pack = root / "game";
    fs::create_directories(pack);
    std::ofstream(pack / "vasul.ini", std::ios::binary) << "[music]\nbgmon=1\n";
    app::WindowsFolders folders;
    folders.app_data = root / "AppData" / "Roaming" / "Vasul";
    const auto place = app::place_settings_windows({pack, DataOrigin::BesideProgram}, {}, folders);
    const std::string error = why_not(place);
    ASSERT_TRUE(place) << error;
    ASSERT_EQ(why_not(app::copy_default_settings(*place)), "");
    EXPECT_EQ(fixture::file_text(folders.app_data / "vasul.ini"), "[music]\nbgmon=1\n");
    std::error_code ec;
    fs::remove_all(root, ec);
}

}  // namespace
