#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <utility>

// Named pipes in place of data files. A reader that opens a pipe the ordinary way waits for a
// writer for ever; these helpers make such a fault fail its test instead of hanging it.
namespace fixture {

// Replaces whatever is at path with a named pipe.
inline void make_named_pipe(const std::filesystem::path& path) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path.parent_path());
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
}

// Runs fn, which must not wait on the pipe at `pipe`. When fn is still running after a few
// seconds, a writer opens the pipe and closes it again, so that the reader sees an empty
// file and returns; the test fails.
template <class F>
auto without_waiting_on(const std::filesystem::path& pipe, F fn) {
    auto result = std::async(std::launch::async, std::move(fn));
    if (result.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << "blocked on the named pipe " << pipe;
        while (result.wait_for(std::chrono::milliseconds(50)) == std::future_status::timeout) {
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
    }
    return result.get();
}

}  // namespace fixture
