#pragma once
// Running the game binary from the end-to-end tests, and reading what it leaves behind.
// POSIX only: the Windows build runs the binary from scripts instead.
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/bmp.h"
#include "support/fixture_pack.h"

namespace fixture {

struct BinaryRun {
    int status;       // the exit status, or 128 plus the signal that ended the run
    std::string err;  // everything written to stderr
};

// Runs the binary in dir with stdout discarded and stderr kept; a prefix such as
// "timeout 60" or "env -u DISPLAY" goes before the binary.
inline BinaryRun run_binary(const std::filesystem::path& binary, const std::filesystem::path& dir,
                            const std::string& args, const std::string& prefix = "") {
    const auto err_file = dir / "stderr.txt";
    const std::string command = "cd '" + dir.string() + "' && " + prefix + " '" + binary.string() +
                                "' " + args + " 2>'" + err_file.string() + "' >/dev/null";
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return {status, file_text(err_file)};
}

// The name --dump-frames gives the frame of a pass.
inline std::string frame_file(uint64_t pass) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06llu.bmp", static_cast<unsigned long long>(pass));
    return name;
}

// A dumped frame; an empty picture when the file is missing or not a picture.
inline gfx::Surface read_frame(const std::filesystem::path& file) {
    const std::string text = file_text(file);
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    platform::Result<gfx::Surface> frame = gfx::decode_bmp(bytes);
    return frame ? std::move(*frame) : gfx::Surface();
}

}  // namespace fixture
