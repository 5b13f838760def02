#include "settings/profile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/colliding_keys.h"
#include "support/fixture_pack.h"

using platform::DiskCalls;
using settings::ProfileStore;
namespace fs = std::filesystem;

namespace {

class Profile : public testing::Test {
  protected:
    ~Profile() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }

    fs::path ini() const { return dir / "vasul.ini"; }

    void put(const std::string& text) const {
        std::ofstream out(ini(), std::ios::binary | std::ios::trunc);
        out << text;
    }

    std::string slurp() const { return fixture::file_text(ini()); }

    // Every file in the folder but vasul.ini: a failed or finished write leaves none.
    std::vector<std::string> strays() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) {
            if (e.path().filename() != "vasul.ini") names.push_back(e.path().filename());
        }
        return names;
    }

    fs::path dir = fixture::make_temp_dir("profile");
};

struct ReadCase {
    const char* what;
    const char* file;
    const char* section;
    const char* key;
    const char* default_value;
    size_t buffer;
    const char* expected;
};

TEST_F(Profile, ReadsFollowTheProfileRules) {
    const ReadCase cases[] = {
        {"names ignore case", "[Music]\nBGM=3\n", "mUSIC", "bgm", "d", 20, "3"},
        {"names and value trimmed", " \t[ music ] \n  bgm \t=  4  \n", " music", "bgm ", "d", 20,
         "4"},
        {"CR LF is not part of the value", "[a]\r\nk=7\r\n", "a", "k", "d", 20, "7"},
        {"double quotes removed", "[a]\nk=\"  A B  \"\n", "a", "k", "d", 20, "  A B  "},
        {"single quotes removed", "[a]\nk= 'x' \n", "a", "k", "d", 20, "x"},
        {"unmatched quotes kept", "[a]\nk=\"x'\n", "a", "k", "d", 20, "\"x'"},
        {"a lone quote kept", "[a]\nk=\"\n", "a", "k", "d", 20, "\""},
        {"empty quotes give empty", "[a]\nk=\"\"\n", "a", "k", "d", 20, ""},
        {"empty value is not the default", "[a]\nk=\n", "a", "k", "d", 20, ""},
        {"comment lines skipped", "[a]\n;k=1\n  \t; k=2\nk=3\n", "a", "k", "d", 20, "3"},
        {"no inline comments", "[a]\nk=5 ; note\n", "a", "k", "d", 20, "5 ; note"},
        {"a commented section is no section", ";[a]\nk=1\n", "a", "k", "d", 20, "d"},
        {"first duplicate key wins", "[a]\nk=1\nK=2\n", "a", "k", "d", 20, "1"},
        {"first duplicate section wins", "[a]\nx=1\n[b]\n[A]\nk=2\nx=9\n", "a", "x", "d", 20, "1"},
        {"keys of a later duplicate are hidden", "[a]\nx=1\n[b]\n[A]\nk=2\n", "a", "k", "d", 20,
         "d"},
        {"value keeps 19 of 20", "[a]\nk=12345678901234567890123\n", "a", "k", "d", 20,
         "1234567890123456789"},
        {"truncation after unquoting", "[a]\nk=\"abcdef\"\n", "a", "k", "d", 4, "abc"},
        {"default truncated too", "", "a", "k", "abcdef", 4, "abc"},
        {"default loses trailing blanks", "", "a", "k", "500  ", 20, "500"},
        {"buffer of one holds nothing", "[a]\nk=1\n", "a", "k", "d", 1, ""},
        {"buffer of zero holds nothing", "[a]\nk=1\n", "a", "k", "d", 0, ""},
        {"missing key", "[a]\nj=1\n", "a", "k", "d", 20, "d"},
        {"missing section", "[b]\nk=1\n", "a", "k", "d", 20, "d"},
        {"key of another section", "[a]\n[b]\nk=1\n", "a", "k", "d", 20, "d"},
        {"key before any section", "k=1\n[a]\n", "a", "k", "d", 20, "d"},
        {"line without equals sign", "[a]\nk\n", "a", "k", "d", 20, "d"},
        {"unclosed header is no section", "[a\nk=1\n", "a", "k", "d", 20, "d"},
        {"text after header ignored", "[a] ; x\nk=1\n", "a", "k", "d", 20, "1"},
        {"value holds equals signs", "[a]\nk==b=c\n", "a", "k", "d", 20, "=b=c"},
        {"byte order mark skipped", "\xEF\xBB\xBF[a]\nk=1\n", "a", "k", "d", 20, "1"},
        {"no final line break", "[a]\nk=8", "a", "k", "d", 20, "8"},
    };
    for (const auto& c : cases) {
        put(c.file);
        ProfileStore store(ini());
        EXPECT_EQ(store.read(c.section, c.key, c.default_value, c.buffer), c.expected) << c.what;
    }
}

TEST_F(Profile, EveryKeyOfALargeFileIsFound) {
    std::string text;
    for (const char* section : {"[score]\n", "[Music]\n", "[third]\n"}) {
        text += section;
        for (int i = 0; i < 150; ++i)
            text += "Key" + std::to_string(i) + "=" + section[1] + std::to_string(i) + "\n";
        for (int i = 0; i < 150; ++i) text += "key" + std::to_string(i) + "=late\n";
    }
    put(text);
    ProfileStore store(ini());
    for (const char* section : {"score", "music", "third"}) {
        for (int i = 0; i < 150; ++i) {
            const std::string expected =
                (section == std::string("music") ? "M" : std::string(1, section[0])) +
                std::to_string(i);
            ASSERT_EQ(store.read(section, "KEY" + std::to_string(i), "d", 20), expected)
                << section << i;
        }
        EXPECT_EQ(store.read(section, "key150", "d", 20), "d");
    }
}

// Names crafted so that a hash without a seed puts them all in one slot still load in a
// moment and read back one by one; the benchmark holds the time against ordinary names.
TEST_F(Profile, KeysCraftedToCollideReadBack) {
    const std::vector<std::string> keys = fixture::colliding_keys("score", 12);
    std::string text = fixture::ini_with_keys("score", keys);
    text += keys[5] + "=late duplicate\n";
    put(text);
    ProfileStore store(ini());
    for (size_t i = 0; i < keys.size(); ++i) {
        std::string shouted = keys[i];
        for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        ASSERT_EQ(store.read("SCORE", shouted, "d", 20), std::to_string(i)) << keys[i];
    }
    EXPECT_EQ(store.read("score", keys[0] + "x", "d", 20), "d");
    EXPECT_EQ(store.read("score", keys[0].substr(1), "d", 20), "d");
}

TEST_F(Profile, MissingOrUnreadableFileReadsDefaults) {
    ProfileStore missing(ini());
    EXPECT_EQ(missing.read("a", "k", "0", 20), "0");

    fs::create_directory(ini());  // a folder where the file should be cannot be read
    ProfileStore unreadable(ini());
    EXPECT_EQ(unreadable.read("a", "k", "0", 20), "0");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(unreadable.write("a", "k", "1"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(ini().string()), std::string::npos);
    EXPECT_TRUE(fs::is_directory(ini()));
}

// A named pipe in the file's place must not hold the game in open(): the child would be
// stopped by its alarm if it did.
TEST_F(Profile, ANamedPipeIsRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(ini().c_str(), 0644), 0);
    const fs::path log = dir / "stderr.txt";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(10);
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 2);
        ProfileStore store(ini());
        const bool ok = store.read("a", "k", "d", 20) == "d" && !store.write("a", "k", "1");
        std::fflush(stderr);
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the store waited on the pipe";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string err = fixture::file_text(log);
    EXPECT_NE(err.find(ini().string() + " is not a regular file"), std::string::npos) << err;
    EXPECT_TRUE(fs::is_fifo(ini()));
}

struct WriteCase {
    const char* what;
    const char* before;  // null: no file
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST_F(Profile, WritesReplaceOrInsertAndKeepEveryOtherByte) {
    const WriteCase cases[] = {
        {"new file", nullptr, "a", "k", "3", "[a]\nk=3\n"},
        {"empty file", "", "a", "k", "3", "[a]\nk=3\n"},
        {"replaced in place, spelling kept", "[A]\r\n  Key = 1 \r\nz=2\r\n", "a", "KEY", "5",
         "[A]\r\n  Key=5\r\nz=2\r\n"},
        {"quoted value replaced", "[a]\nk=\"x\"\n", "a", "k", "y", "[a]\nk=y\n"},
        {"first duplicate replaced", "[a]\nk=1\nk=2\n", "a", "k", "9", "[a]\nk=9\nk=2\n"},
        {"new key after the last key, before blanks and comments",
         "[a]\nx=1\n\n; about b\n[b]\ny=2\n", "a", "k", "3",
         "[a]\nx=1\nk=3\n\n; about b\n[b]\ny=2\n"},
        {"new key in an empty section", "[a]\n\n[b]\n", "a", "k", "3", "[a]\nk=3\n\n[b]\n"},
        {"new key into the first of duplicate sections", "[a]\nx=1\n[b]\n[a]\ny=2\n", "a", "k", "3",
         "[a]\nx=1\nk=3\n[b]\n[a]\ny=2\n"},
        {"new key after a last line without break", "[a]\nx=1", "a", "k", "3", "[a]\nx=1\nk=3\n"},
        {"new key in a CR LF file", "[a]\r\nx=1\r\n\r\n[b]\r\n", "a", "k", "3",
         "[a]\r\nx=1\r\nk=3\r\n\r\n[b]\r\n"},
        {"new section at the end", "[a]\nx=1\n\n", "b", "k", "3", "[a]\nx=1\n\n[b]\nk=3\n"},
        {"new section in a CR LF file", "; top\r\n[a]\r\nx=1\r\n", "b", "k", "3",
         "; top\r\n[a]\r\nx=1\r\n[b]\r\nk=3\r\n"},
        {"new section after a last line without break", "[a]\r\nx=1", "b", "k", "3",
         "[a]\r\nx=1\r\n[b]\r\nk=3\r\n"},
        {"odd lines untouched", "junk line\n [a] ;c\n\tx = 'q' \n;;\n", "a", "x", "r",
         "junk line\n [a] ;c\n\tx=r\n;;\n"},
        {"names written trimmed", "", " b ", " k ", "-5", "[b]\nk=-5\n"},
    };
    for (const auto& c : cases) {
        std::error_code ec;
        fs::remove(ini(), ec);
        if (c.before) put(c.before);
        ProfileStore store(ini());
        ASSERT_TRUE(store.write(c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(slurp(), c.after) << c.what;
        EXPECT_EQ(store.read(c.section, c.key, "d", 20), c.value) << c.what;
        EXPECT_EQ(ProfileStore(ini()).read(c.section, c.key, "d", 20), c.value) << c.what;
        EXPECT_TRUE(strays().empty()) << c.what;
    }
}

// Whatever the store writes, it reads back as written: values the reader would trim or
// unquote go out in quotes; every other value goes out as it is.
TEST_F(Profile, WrittenValuesReadBackExactly) {
    struct Case {
        const char* value;
        const char* line;  // as it stands in the file
    };
    const Case cases[] = {
        {"AB", "k=AB"},           {" AB", "k=\" AB\""}, {"AB\t", "k=\"AB\t\""},
        {"\v", "k=\"\v\""},       {"  ", "k=\"  \""},   {"", "k="},
        {"\"x\"", "k=\"\"x\"\""}, {"'x'", "k=\"'x'\""}, {"\"\"", "k=\"\"\"\""},
        {"\"", "k=\""},           {"'x\"", "k='x\""},   {"a \"b\" c", "k=a \"b\" c"},
        {"x=y ; z", "k=x=y ; z"},
    };
    for (const Case& c : cases) {
        put("[a]\nk=old\nz=1\n");
        ProfileStore store(ini());
        ASSERT_TRUE(store.write("a", "k", c.value)) << c.value;
        EXPECT_EQ(slurp(), std::string("[a]\n") + c.line + "\nz=1\n") << c.value;
        EXPECT_EQ(store.read("a", "k", "d", 64), c.value);
        EXPECT_EQ(ProfileStore(ini()).read("a", "k", "d", 64), c.value);
    }
}

// A batch of changes is one replacement of the file with the same result as the same
// writes one at a time.
TEST_F(Profile, BatchWriteMatchesSingleWritesInOneReplacement) {
    using Change = ProfileStore::Change;
    struct Case {
        const char* what;
        const char* before;
        std::vector<Change> changes;
    };
    const std::vector<Case> cases = {
        {"keys replaced in place", "[s]\r\nb=1\r\na=2\r\n[t]\r\nx=1\r\n", {{"a", "5"}, {"B", "6"}}},
        {"new keys after the section's last line, in order",
         "[s]\na=1\n\n; c\n[t]\n",
         {{"z", "1"}, {"a", "2"}, {"m", " 3"}}},
        {"a new section at the end", "[t]\nx=1", {{"k", "1"}, {"j", "2"}}},
        {"no file yet", nullptr, {{"k", "1"}, {"j", "2"}}},
        {"a key named twice keeps its first place",
         "[s]\na=1\n",
         {{"k", "1"}, {"a", "2"}, {"K", "3"}, {"a", "4"}}},
        {"the first of duplicate sections", "[s]\na=1\n[t]\n[S]\nb=2\n", {{"b", "3"}, {"a", "4"}}},
    };
    static int replacements;
    DiskCalls counting = platform::real_disk();
    counting.rename = [](const char* from, const char* to) {
        ++replacements;
        return ::rename(from, to);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ec;
        fs::remove(ini(), ec);
        if (c.before) put(c.before);
        for (const Change& change : c.changes)
            ProfileStore(ini()).write("s", change.key, change.value);
        const std::string one_by_one = slurp();

        fs::remove(ini(), ec);
        if (c.before) put(c.before);
        ProfileStore store(ini());
        store.use_disk(counting);
        replacements = 0;
        ASSERT_TRUE(store.write("s", c.changes));
        EXPECT_EQ(replacements, 1);
        EXPECT_EQ(slurp(), one_by_one);
        EXPECT_TRUE(strays().empty());
    }
}

TEST_F(Profile, RefusesNamesAndValuesThatWouldBreakTheFile) {
    const char* kFile = "[a]\nk=1\n";
    struct Bad {
        const char* section;
        const char* key;
        const char* value;
    };
    const Bad cases[] = {{"a", "k", "1\n[b]"}, {"a", "k", "1\r"}, {"a", "k=x", "1"},
                         {"a]", "k", "1"},     {"a", ";k", "1"},  {"a", "[k", "1"},
                         {"", "k", "1"},       {"a", " ", "1"},   {"a\nb", "k", "1"}};
    put(kFile);
    ProfileStore store(ini());
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(store.write(c.section, c.key, c.value)) << c.key << c.value;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(slurp(), kFile);
    }
    // One change that cannot be stored stops the whole batch before anything is written.
    const ProfileStore::Change batch[] = {{"k", "2"}, {"j", "3"}, {"i", "4\r"}, {"h", "5"}};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store.write("a", batch));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(slurp(), kFile);
    EXPECT_EQ(store.read("a", "j", "d", 20), "d");
}

TEST_F(Profile, ReadsComeFromTheCopyUntilPollSeesAChange) {
    ProfileStore store(ini());
    put("[a]\nk=1\n");
    EXPECT_EQ(store.read("a", "k", "d", 20), "d");  // created after the store looked
    store.poll();
    EXPECT_EQ(store.read("a", "k", "d", 20), "1");

    // An in-place edit of the same size, told apart by its time.
    put("[a]\nk=2\n");
    fs::last_write_time(ini(), fs::last_write_time(ini()) + std::chrono::seconds(5));
    EXPECT_EQ(store.read("a", "k", "d", 20), "1");
    store.poll();
    EXPECT_EQ(store.read("a", "k", "d", 20), "2");
    store.poll();
    EXPECT_EQ(store.read("a", "k", "d", 20), "2");

    fs::remove(ini());
    EXPECT_EQ(store.read("a", "k", "d", 20), "2");  // reads never go to the disk
    store.poll();
    EXPECT_EQ(store.read("a", "k", "d", 20), "d");
}

TEST_F(Profile, WriteKeepsAnOutsideChangeNotYetPolled) {
    put("[a]\nk=1\n");
    ProfileStore store(ini());
    put("[a]\nk=1\nj=2\n");
    ASSERT_TRUE(store.write("a", "k", "3"));
    EXPECT_EQ(slurp(), "[a]\nk=3\nj=2\n");
    EXPECT_EQ(store.read("a", "j", "d", 20), "2");
}

class ProfileFailure : public Profile {
  protected:
    void SetUp() override {
        old_text = "[score]\r\nnam0=AAA\r\n";
        for (int i = 0; i < 200; ++i) {
            old_text += "pad" + std::to_string(i) + "=" + std::string(40, 'x') + "\r\n";
        }
        put(old_text);
    }

    // A write that cannot finish leaves the file, the copy and the folder as they were,
    // and says so in one line naming the file.
    void expect_failed_write(ProfileStore& store) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(store.write("score", "nam0", "BBB"));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find(store.path().string()), std::string::npos) << err;
        EXPECT_EQ(slurp(), old_text);
        EXPECT_EQ(store.read("score", "nam0", "d", 20), "AAA");
        EXPECT_TRUE(strays().empty());
    }

    std::string old_text;
};

TEST_F(ProfileFailure, ReadOnlyFileIsNotReplaced) {
    fs::permissions(ini(), fs::perms::owner_read | fs::perms::group_read);
    ProfileStore store(ini());
    expect_failed_write(store);
}

// The store's disk failing at each step in turn: a read-only folder refuses the temporary
// file, a full disk cuts its writing short, a failing device refuses the sync, a folder
// turned read-only refuses the rename. Each time the old file stays and the player hears of
// it once, until a write gets through again.
TEST_F(ProfileFailure, EachFailingStepKeepsTheOldFileAndWarnsOnce) {
    struct Case {
        const char* what;
        DiskCalls disk;
    };
    DiskCalls read_only = platform::real_disk();
    read_only.create = [](const char*, mode_t) {
        errno = EROFS;
        return -1;
    };
    DiskCalls full = platform::real_disk();
    full.write = [](int fd, const void* data, size_t size) -> ssize_t {
        if (size < 1024) {
            errno = ENOSPC;
            return -1;
        }
        return ::write(fd, data, size / 2);
    };
    DiskCalls bad_sync = platform::real_disk();
    bad_sync.sync = [](int) {
        errno = EIO;
        return -1;
    };
    DiskCalls bad_rename = platform::real_disk();
    bad_rename.rename = [](const char*, const char*) {
        errno = EROFS;
        return -1;
    };
    const Case cases[] = {{"read-only folder", read_only},
                          {"full disk", full},
                          {"failing sync", bad_sync},
                          {"failing rename", bad_rename}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        put(old_text);
        ProfileStore store(ini());
        store.use_disk(c.disk);
        expect_failed_write(store);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(store.write("score", "nam0", "CCC"));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(slurp(), old_text);

        store.use_disk(platform::real_disk());
        ASSERT_TRUE(store.write("score", "extra", c.what));
        old_text = slurp();
        store.use_disk(c.disk);
        expect_failed_write(store);  // heard of again after a write that got through
    }
}

TEST_F(ProfileFailure, ReadOnlyFolderKeepsTheOldFile) {
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir.c_str(), W_OK) == 0) GTEST_SKIP() << "permissions do not bind this user";
    ProfileStore store(ini());
    expect_failed_write(store);
}

TEST_F(ProfileFailure, WriteCutShortKeepsTheOldFile) {
    // A file-size limit makes the temporary file's write fail halfway, as a full disk would.
    ProfileStore store(ini());
    rlimit old_limit;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit small = old_limit;
    small.rlim_cur = 4096;
    auto* old_handler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    expect_failed_write(store);
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
    ::signal(SIGXFSZ, old_handler);
}

}  // namespace
