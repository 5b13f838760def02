#include "settings/profile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/fixture_pack.h"

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

    std::string slurp() const {
        std::ifstream in(ini(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

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

// A child writes in a loop and is killed at random moments: the file must always be the
// old or the new text, whole.
TEST_F(Profile, KillDuringWriteLeavesOldOrNewFileWhole) {
    std::string head = "[score]\n";
    for (int i = 0; i < 100; ++i) head += "nam" + std::to_string(i) + "=AAA\n";
    const std::string tail = "[sound]\nvol=3\n";
    auto text_with = [&](char letter, size_t n) {
        return head + "pad=" + std::string(n, letter) + "\n" + tail;
    };
    put(text_with('a', 3000));

    std::mt19937 random(7);
    for (int round = 0; round < 100; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(30);  // never outlive a test run that went wrong
            ProfileStore store(ini());
            for (unsigned n = 1;; ++n) {
                store.write("score", "pad", std::string(1000 + n % 7 * 1000, char('a' + n % 26)));
            }
        }
        ::usleep(static_cast<useconds_t>(random() % 4000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        const std::string text = slurp();
        const size_t start = head.size() + 4;
        ASSERT_GE(text.size(), start + 1 + tail.size()) << "round " << round;
        const char letter = text[start];
        const size_t n = text.size() - start - 1 - tail.size();
        ASSERT_EQ(text, text_with(letter, n)) << "round " << round;
        ASSERT_TRUE(n == 3000 || (n % 1000 == 0 && n >= 1000 && n <= 7000)) << n;
        ProfileStore fresh(ini());
        EXPECT_EQ(fresh.read("sound", "vol", "d", 20), "3");
    }
}

}  // namespace
