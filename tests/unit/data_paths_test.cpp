#include "app/data_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/player_folder.h"
#include "settings/profile.h"
#include "settings/settings.h"
#include "support/fixture_pack.h"
#include "support/results.h"

namespace fs = std::filesystem;

namespace {

using app::DataOrigin;

void put(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

class DataPaths : public testing::Test {
  protected:
    ~DataPaths() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    // A folder, created empty, or holding the pack's marker file.
    fs::path folder(const char* name, bool holds_pack) {
        const fs::path dir = root / name;
        fs::create_directories(dir);
        if (holds_pack) put(dir / app::kPackMarker, "BM");
        return dir;
    }

    fs::path root = fixture::make_temp_dir("data-paths");
};

TEST_F(DataPaths, TheFirstPlaceThatHoldsThePackIsTakenAndNamedPlacesAreTakenAsGiven) {
    struct Case {
        const char* name;
        bool flag, environment;        // named on the command line / in the environment
        bool current, beside, prefix;  // hold the pack
        std::optional<DataOrigin> expected;
    };
    const Case cases[] = {
        {"everything", true, true, true, true, true, DataOrigin::Flag},
        {"--data without a pack", true, false, true, true, true, DataOrigin::Flag},
        {"the environment", false, true, true, true, true, DataOrigin::Environment},
        {"the current folder", false, false, true, true, true, DataOrigin::CurrentFolder},
        {"beside the program", false, false, false, true, true, DataOrigin::BesideProgram},
        {"the prefix", false, false, false, false, true, DataOrigin::Prefix},
        {"nowhere", false, false, false, false, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root);
        app::DataSearch search;
        if (c.flag) search.flag = folder("flag", false);
        if (c.environment) search.environment = folder("env", false);
        search.current = folder("current", c.current);
        search.executable = folder("usr/games", false) / "vasul";
        search.beside_program = "../share/games/vasul";
        folder("usr/share/games/vasul", c.beside);
        search.prefix = folder("prefix", c.prefix);

        const auto found = app::find_data(search);
        const std::string error = why_not(found);
        ASSERT_EQ(found.ok(), c.expected.has_value()) << error;
        if (!found) continue;
        EXPECT_EQ(found->origin, *c.expected);
        EXPECT_TRUE(found->dir == search.flag || found->dir == search.environment ||
                    fs::exists(found->dir / app::kPackMarker))
            << found->dir;
    }
}

TEST_F(DataPaths, BesideTheProgramIsFoundFromTheProgramsOwnFolder) {
    app::DataSearch search;
    search.current = folder("empty", false);
    search.executable = root / "unpacked/usr/games/vasul";
    search.beside_program = "../share/games/vasul";
    const fs::path pack = folder("unpacked/usr/share/games/vasul", true);
    const auto found = app::find_data(search);
    const std::string error = why_not(found);
    ASSERT_TRUE(found) << error;
    EXPECT_EQ(found->dir, pack);
}

TEST_F(DataPaths, WhenNothingHoldsThePackTheMessageNamesEveryPlaceLooked) {
    app::DataSearch search;
    search.current = folder("current", false);
    search.executable = root / "bin/vasul";
    search.beside_program = "../share/games/vasul";
    search.prefix = root / "prefix/share/games/vasul";
    const auto found = app::find_data(search);
    ASSERT_FALSE(found);
    const std::string error = found.error().reason;
    for (const fs::path& place : {search.current, root / "share/games/vasul", search.prefix})
        EXPECT_NE(error.find(place.string() + " ("), std::string::npos) << place << " in " << error;
    EXPECT_NE(error.find(app::kPackMarker), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

TEST(SettingsPlace, PortableGamesKeepTheFileBesideTheDataInstalledOnesInTheHome) {
    struct Case {
        const char* name;
        DataOrigin origin;
        const char* ini_flag;
        app::HomeFolders home;
        const char* file;      // empty: no place
        const char* defaults;  // copied on the first run
    };
    const Case cases[] = {
        {"--data", DataOrigin::Flag, "", {"/x", "/h"}, "/pack/vasul.ini", ""},
        {"current folder", DataOrigin::CurrentFolder, "", {"/x", "/h"}, "/pack/vasul.ini", ""},
        {"environment",
         DataOrigin::Environment,
         "",
         {"/x", "/h"},
         "/x/vasul/vasul.ini",
         "/pack/vasul.ini"},
        {"beside",
         DataOrigin::BesideProgram,
         "",
         {"/x", "/h"},
         "/x/vasul/vasul.ini",
         "/pack/vasul.ini"},
        {"prefix, no XDG",
         DataOrigin::Prefix,
         "",
         {"", "/h"},
         "/h/.local/share/vasul/vasul.ini",
         "/pack/vasul.ini"},
        {"relative XDG ignored",
         DataOrigin::Prefix,
         "",
         {"rel", "/h"},
         "/h/.local/share/vasul/vasul.ini",
         "/pack/vasul.ini"},
        {"--ini, installed", DataOrigin::Prefix, "/mine.ini", {"/x", "/h"}, "/mine.ini", ""},
        {"--ini, portable", DataOrigin::CurrentFolder, "/mine.ini", {"", ""}, "/mine.ini", ""},
        {"no home at all", DataOrigin::Prefix, "", {"", ""}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto place = app::place_settings({"/pack", c.origin}, c.ini_flag, c.home);
        const std::string error = why_not(place);
        ASSERT_EQ(place.ok(), *c.file != '\0') << error;
        if (!place) {
            EXPECT_NE(error.find("--ini"), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(place->file, fs::path(c.file));
        EXPECT_EQ(place->defaults, fs::path(c.defaults));
    }
}

// Outside Windows no application-data folder is named; the write test answers truly and
// leaves nothing behind.
TEST_F(DataPaths, TheWriteTestLeavesNothingBehindAndRefusesAMissingFolder) {
    EXPECT_FALSE(platform::windows_folders());
    EXPECT_TRUE(platform::app_data_folder().empty());
    const fs::path dir = root / "writable";
    fs::create_directories(dir);
    EXPECT_TRUE(platform::can_make_files_in(dir));
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_FALSE(platform::can_make_files_in(root / "missing"));
}

TEST_F(DataPaths, TheFirstRunCopiesThePacksDefaultsAndLaterRunsKeepThePlayersFile) {
    const fs::path pack = folder("pack", true);
    const std::string defaults = "[music]\nbgmon=1\nbgm=7\n";
    put(pack / "vasul.ini", defaults);
    const app::SettingsPlace place{root / "home/vasul/vasul.ini", pack / "vasul.ini"};

    ASSERT_EQ(why_not(app::copy_default_settings(place)), "");
    EXPECT_EQ(fixture::file_text(place.file), defaults);

    put(place.file, "[music]\nbgmon=0\n");
    ASSERT_EQ(why_not(app::copy_default_settings(place)), "");
    EXPECT_EQ(fixture::file_text(place.file), "[music]\nbgmon=0\n");
}

TEST_F(DataPaths, WithoutDefaultsToCopyNothingIsWrittenBeforeThePlayersFirstChange) {
    const fs::path pack = folder("pack", true);
    const fs::path player = root / "home/vasul/vasul.ini";
    for (const app::SettingsPlace& place :
         {app::SettingsPlace{player, pack / "vasul.ini"}, app::SettingsPlace{player, {}}}) {
        ASSERT_EQ(why_not(app::copy_default_settings(place)), "");
        EXPECT_FALSE(fs::exists(root / "home"));
    }
    // The folder comes with the first write.
    settings::ProfileStore store(player);
    EXPECT_FALSE(fs::exists(root / "home"));
    ASSERT_TRUE(store.write("mode", "level", "1"));
    EXPECT_EQ(fixture::file_text(player), "[mode]\nlevel=1\n");
}

TEST_F(DataPaths, TheWindowsChoiceIsRememberedInASectionOfItsOwn) {
    const fs::path file = root / "vasul.ini";
    put(file, "[music]\nbgmon=1\n; a comment\n[score]\nsco0=900\n");
    settings::ProfileStore store(file);
    EXPECT_TRUE(settings::read_fullscreen(store)) << "a new player starts full screen";

    settings::write_fullscreen(store, false);
    EXPECT_FALSE(settings::read_fullscreen(settings::ProfileStore(file)));
    EXPECT_EQ(fixture::file_text(file),
              "[music]\nbgmon=1\n; a comment\n[score]\nsco0=900\n[display]\n"
              "fullscreen=0\n");
    settings::write_fullscreen(store, true);
    EXPECT_TRUE(settings::read_fullscreen(settings::ProfileStore(file)));
}

}  // namespace
