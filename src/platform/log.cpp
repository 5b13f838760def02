#include "platform/log.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace platform {

namespace {

// Where lines go instead of stderr, once the first one comes.
struct LogFile {
    std::filesystem::path path;
    std::ofstream out;
};
LogFile& log_file() {
    static LogFile file;
    return file;
}

void write_line(const std::string& line) {
    LogFile& file = log_file();
    if (file.path.empty()) {
        std::fputs(line.c_str(), stderr);
        return;
    }
    if (!file.out.is_open()) file.out.open(file.path, std::ios::binary | std::ios::app);
    file.out << line << std::flush;
}

}  // namespace

void set_log_file(const std::filesystem::path& file) {
    log_file().path = file;
}

void warn(std::string_view line) {
    write_line("vasul: warning: " + std::string(line) + "\n");
}

void error(std::string_view line) {
    write_line("vasul: " + std::string(line) + "\n");
}

}  // namespace platform
