#include "platform/data_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/fixture_pack.h"
#include "support/named_pipe.h"
#include "support/results.h"

namespace {

namespace fs = std::filesystem;
using platform::ErrorKind;

class DataFileTest : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove_all(dir); }
    fs::path write(const char* name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return dir / name;
    }
    static std::string text(const platform::FileBytes& read) {
        return read ? std::string(read->begin(), read->end()) : std::string();
    }
    fs::path dir = fixture::make_temp_dir("data-file");
};

TEST_F(DataFileTest, ReadsWholeFilesWithinTheLimit) {
    const fs::path ten = write("ten", "0123456789");
    struct Case {
        fs::path file;
        uint64_t limit;
        std::optional<ErrorKind> error;
        std::string bytes;
    };
    const Case cases[] = {
        {ten, platform::kNoSizeLimit, std::nullopt, "0123456789"},
        {ten, 10, std::nullopt, "0123456789"},
        {ten, 9, ErrorKind::TooLarge, ""},
        {write("empty", ""), 0, std::nullopt, ""},
        {dir / "missing", 100, ErrorKind::Missing, ""},
        {dir / "missing/below", 100, ErrorKind::Missing, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string() + " limit " + std::to_string(c.limit));
        const auto read = platform::read_data_file(c.file, c.limit);
        EXPECT_EQ(error_kind(read), c.error) << why_not(read);
        EXPECT_EQ(text(read), c.bytes);
        EXPECT_EQ(why_not(read).empty(), c.error == std::nullopt) << why_not(read);
    }
}

TEST_F(DataFileTest, RangesMustLieWhollyInTheFile) {
    const fs::path ten = write("ten", "0123456789");
    EXPECT_EQ(text(platform::read_data_range(ten, 3, 4)), "3456");
    EXPECT_EQ(text(platform::read_data_range(ten, 0, 10)), "0123456789");
    EXPECT_EQ(error_kind(platform::read_data_range(ten, 7, 4)), ErrorKind::Short);
    EXPECT_EQ(error_kind(platform::read_data_range(ten, 11, 0)), ErrorKind::Short);
    EXPECT_EQ(error_kind(platform::read_data_range(ten, ~0ull, 2)), ErrorKind::Short);

    platform::DataFile file(ten);
    ASSERT_TRUE(file.is_open());
    EXPECT_EQ(file.size(), 10u);
    EXPECT_EQ(text(file.read(8, 100)), "89") << "a read stops at the end";
    EXPECT_EQ(text(file.read(2, 2)), "23") << "reads are independent of each other";
}

// Only a regular file is read; nothing else is opened in a way that could block.
TEST_F(DataFileTest, RefusesWhatIsNotARegularFileAtOnce) {
    fs::create_directories(dir / "folder");
    fixture::make_named_pipe(dir / "pipe");
    struct Case {
        fs::path file;
        std::string reason;
    };
    const Case cases[] = {
        {dir / "folder", "is a directory"},
        {dir / "pipe", "is a named pipe"},
        {"/dev/null", "is a device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto read = fixture::without_waiting_on(
            dir / "pipe", [&] { return platform::read_data_file(c.file, 1000); });
        EXPECT_EQ(error_kind(read), ErrorKind::NotAFile);
        EXPECT_EQ(why_not(read), c.reason);
        EXPECT_EQ(why_not(platform::read_data_range(c.file, 0, 1)), c.reason);
    }
}

// /proc/self/mem is a regular file whose first page is never mapped: reading it fails with
// EIO, the error a failing disk gives.
TEST_F(DataFileTest, AReadErrorIsReportedNotThrown) {
    if (!fs::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc";
    const auto read = platform::read_data_file("/proc/self/mem", 1 << 20);
    EXPECT_EQ(error_kind(read), ErrorKind::Failed);
    EXPECT_FALSE(read);
    EXPECT_NE(why_not(read).find("Input/output error"), std::string::npos) << why_not(read);
}

}  // namespace
