// The settings file's Windows side, under Wine or Windows: replacing a file that another
// handle holds open for a moment, change detection after a replacement, names outside the code
// page, and the refusals.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/file_io.h"
#include "support/fixture_pack.h"

namespace {

namespace fs = std::filesystem;
using platform::ErrorKind;
using platform::FileStamp;

class FileIoWin32 : public testing::Test {
  protected:
    ~FileIoWin32() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    bool replace(const fs::path& file, std::string_view text, FileStamp& stamp) {
        const platform::Result<FileStamp> written = platform::replace_file(file, text);
        EXPECT_TRUE(written) << written.error().reason;
        if (written) stamp = *written;
        return written.ok();
    }
    fs::path dir = fixture::make_temp_dir("fileio");
};

TEST_F(FileIoWin32, ReplacesAFileOnceAReaderLetsGo) {
    const fs::path ini = dir / "vasul.ini";
    FileStamp first;
    ASSERT_TRUE(replace(ini, "[a]\nx=1\n", first));
    // Windows won't move a file over one that is open, whatever the sharing: the writer
    // retries until the reader (a virus scanner, an editor) lets go.
    const HANDLE reader = CreateFileW(ini.wstring().c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread let_go([reader] {
        Sleep(200);
        CloseHandle(reader);
    });
    FileStamp second;
    const bool replaced = replace(ini, "[a]\nx=22\n", second);
    let_go.join();
    ASSERT_TRUE(replaced);
    EXPECT_EQ(fixture::file_text(ini), "[a]\nx=22\n");
    EXPECT_NE(first, second);
    const platform::Result<FileStamp> now = platform::stamp_file(ini);
    ASSERT_TRUE(now);
    EXPECT_EQ(*now, second);
    // Nothing is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(FileIoWin32, ASameSizeRewriteIsNoticed) {
    const fs::path ini = dir / "vasul.ini";
    FileStamp a, b;
    ASSERT_TRUE(replace(ini, "x=1\n", a));
    ASSERT_TRUE(replace(ini, "x=2\n", b));
    EXPECT_NE(a, b);
}

TEST_F(FileIoWin32, NamesOutsideTheCodePageWork) {
    const fs::path folder = dir / fs::path(u8"Spiele \u00e9\u4e2d\U0001F9E9");
    fs::create_directories(folder);
    const fs::path ini = folder / "vasul.ini";
    FileStamp stamp;
    ASSERT_TRUE(replace(ini, "[music]\nbgm=3\n", stamp));
    const platform::Result<platform::FileText> read = platform::read_whole_file(ini, 1 << 20);
    ASSERT_TRUE(read) << read.error().reason;
    EXPECT_EQ(read->text, "[music]\nbgm=3\n");
    EXPECT_EQ(read->stamp, stamp);
}

TEST_F(FileIoWin32, RefusesReadOnlyFilesFoldersAndMissingOnes) {
    const fs::path ini = dir / "vasul.ini";
    std::ofstream(ini) << "old";
    SetFileAttributesW(ini.wstring().c_str(), FILE_ATTRIBUTE_READONLY);
    const platform::Result<FileStamp> refused = platform::replace_file(ini, "new");
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().reason.find("read-only"), std::string::npos)
        << refused.error().reason;
    SetFileAttributesW(ini.wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(fixture::file_text(ini), "old");

    EXPECT_EQ(platform::read_whole_file(dir, 1 << 20).error().kind, ErrorKind::NotAFile);
    EXPECT_EQ(platform::stamp_file(dir / "none.ini").error().kind, ErrorKind::Missing);
    EXPECT_EQ(platform::stamp_file(dir / "no/none.ini").error().kind, ErrorKind::Missing);
}

TEST_F(FileIoWin32, RemovesTemporaryFilesOfDeadWriters) {
    const fs::path ini = dir / "vasul.ini";
    // A process id that no process has: ids are multiples of four.
    const fs::path dead = dir / ".vasul.ini.4294967.tmp";
    std::ofstream(dead) << "half";
    FileStamp stamp;
    ASSERT_TRUE(replace(ini, "x=1\n", stamp));
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_EQ(fixture::file_text(ini), "x=1\n");
}

}  // namespace
