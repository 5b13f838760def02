#include "platform/data_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/fixture_pack.h"
#include "support/results.h"

namespace {

namespace fs = std::filesystem;
using platform::ErrorKind;

std::string text(const platform::FileBytes& read) {
    return read ? std::string(read->begin(), read->end()) : std::string();
}

// The same two files on disk and in memory: a test's pack must read as the game's would.
class DataSources : public ::testing::Test {
  protected:
    DataSources() {
        fs::create_directories(dir / "sub");
        std::ofstream(dir / "sub/ten", std::ios::binary) << "0123456789";
        std::ofstream(dir / "empty", std::ios::binary);
        memory.put("sub/ten", {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'});
        memory.put("empty", {});
    }
    ~DataSources() override { fs::remove_all(dir); }

    fs::path dir = fixture::make_temp_dir("data-source");
    platform::FileDataSource files{dir};
    platform::MemoryDataSource memory;
};

TEST_F(DataSources, FilesAndMemoryReadAlike) {
    struct Case {
        const char* what;
        platform::FileBytes (*read)(const platform::DataSource&);
        std::optional<ErrorKind> error;
        std::string bytes;
    };
    using S = const platform::DataSource&;
    const Case cases[] = {
        {"whole", [](S d) { return d.read("sub/ten", 10); }, std::nullopt, "0123456789"},
        {"whole, too large", [](S d) { return d.read("sub/ten", 9); }, ErrorKind::TooLarge, ""},
        {"whole, empty", [](S d) { return d.read("empty", 0); }, std::nullopt, ""},
        {"whole, missing", [](S d) { return d.read("none", 9); }, ErrorKind::Missing, ""},
        {"range", [](S d) { return d.read_range("sub/ten", 3, 4); }, std::nullopt, "3456"},
        {"range to the end", [](S d) { return d.read_range("sub/ten", 6, 4); }, std::nullopt,
         "6789"},
        {"range past the end", [](S d) { return d.read_range("sub/ten", 7, 4); }, ErrorKind::Short,
         ""},
        {"range after the end", [](S d) { return d.read_range("sub/ten", 11, 0); },
         ErrorKind::Short, ""},
        {"range at a huge offset", [](S d) { return d.read_range("sub/ten", ~0ull, 2); },
         ErrorKind::Short, ""},
        {"range, missing", [](S d) { return d.read_range("none", 0, 1); }, ErrorKind::Missing, ""},
        {"head", [](S d) { return d.read_head("sub/ten", 4); }, std::nullopt, "0123"},
        {"head of a short file", [](S d) { return d.read_head("sub/ten", 4095); }, std::nullopt,
         "0123456789"},
        {"head, missing", [](S d) { return d.read_head("none", 4); }, ErrorKind::Missing, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto on_disk = c.read(files);
        const auto in_memory = c.read(memory);
        EXPECT_EQ(error_kind(on_disk), c.error) << why_not(on_disk);
        EXPECT_EQ(text(on_disk), c.bytes);
        EXPECT_EQ(error_kind(in_memory), c.error) << why_not(in_memory);
        EXPECT_EQ(text(in_memory), c.bytes);
        EXPECT_EQ(why_not(in_memory), why_not(on_disk));
    }
    for (const platform::DataSource* d : {static_cast<platform::DataSource*>(&files),
                                          static_cast<platform::DataSource*>(&memory)}) {
        EXPECT_EQ(*d->size("sub/ten"), 10u);
        EXPECT_EQ(error_kind(d->size("none")), ErrorKind::Missing);
        EXPECT_EQ(why_not(d->size("none")), "is missing");
    }
    EXPECT_EQ(why_not(files.size("sub")), "is a directory") << "only a regular file has a length";
}

// Each game of a test process gets its own copy of the shared pack to change.
TEST_F(DataSources, CopiesOfAMemoryPackChangeAlone) {
    platform::MemoryDataSource copy = memory;
    copy.put("sub/ten", {'x'});
    copy.remove("empty");
    copy.remove("none");
    EXPECT_EQ(text(memory.read("sub/ten", 100)), "0123456789");
    EXPECT_TRUE(memory.read("empty", 0));
    EXPECT_EQ(text(copy.read("sub/ten", 100)), "x");
    EXPECT_EQ(error_kind(copy.read("empty", 0)), ErrorKind::Missing);
}

TEST_F(DataSources, MessagesNameFilesAsThePlayerWould) {
    EXPECT_EQ(platform::FileDataSource(".").shown("vasul.spt"), "vasul.spt");
    EXPECT_EQ(files.shown("sub/ten"), (dir / "sub" / "ten").lexically_normal().string());
    const fs::path full = platform::FileDataSource(".").shown_in_full("image");
    EXPECT_TRUE(full.is_absolute()) << full;
    EXPECT_EQ(full, fs::current_path() / "image");
    EXPECT_EQ(memory.shown("vasul.spt"), "vasul.spt");
}

}  // namespace
