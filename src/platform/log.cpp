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
    if (!file.out.is_open()) {
        // The player's own folder may not be there before the first line.
        std::error_code ec;
        if (file.path.has_parent_path())
            std::filesystem::create_directories(file.path.parent_path(), ec);
        file.out.open(file.path, std::ios::binary | std::ios::app);
    }
    file.out << line << std::flush;
}

}  // namespace

void set_log_file(const std::filesystem::path& file) {
    LogFile& log = log_file();
    if (log.out.is_open()) log.out.close();
    log.path = file;
}

void keep_log_beside(const std::filesystem::path& file) {
    if (!log_file().path.empty()) set_log_file(file.parent_path() / "vasul.log");
}

void warn(std::string_view line) {
    write_line("vasul: warning: " + std::string(line) + "\n");
}

void warn_once(std::set<std::string>& told, std::string_view key, std::string_view line) {
    if (told.emplace(key).second) warn(line);
}

void error(std::string_view line) {
    write_line("vasul: " + std::string(line) + "\n");
}

}  // namespace platform
