// The log file of a program without a console: lines go beside the settings once they are
// known, and stay on stderr when no file was asked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/log.h"
#include "support/fixture_pack.h"

namespace {

namespace fs = std::filesystem;

TEST(LogFile, LaterLinesGoBesideTheSettingsInAFolderMadeForThem) {
    const fs::path root = fixture::make_temp_dir("log-file");
    platform::set_log_file(root / "program" / "vasul.log");
    platform::warn("before the settings");
    platform::keep_log_beside(root / "player" / "vasul.ini");
    platform::error("after");
    platform::set_log_file({});  // back to stderr for the other tests
    EXPECT_EQ(fixture::file_text(root / "program" / "vasul.log"),
              "vasul: warning: before the settings\n");
    EXPECT_EQ(fixture::file_text(root / "player" / "vasul.log"), "vasul: after\n");
    std::error_code ec;
    fs::remove_all(root, ec);
}

TEST(LogFile, LinesOnStderrStayThere) {
    const fs::path root = fixture::make_temp_dir("log-stderr");
    platform::keep_log_beside(root / "vasul.ini");
    testing::internal::CaptureStderr();
    platform::warn("here");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vasul: warning: here\n");
    EXPECT_FALSE(fs::exists(root / "vasul.log"));
    std::error_code ec;
    fs::remove_all(root, ec);
}

}  // namespace
