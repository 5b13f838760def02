// Placeholder until the settings store lands.
#include "settings/profile.h"

namespace settings {
ProfileStore::ProfileStore(std::filesystem::path file) : path_(std::move(file)) {}
std::string ProfileStore::read(std::string_view, std::string_view, std::string_view d, size_t) const {
    return std::string(d);
}
bool ProfileStore::write(std::string_view, std::string_view, std::string_view) { return false; }
void ProfileStore::poll() {}
void ProfileStore::load() {}
}  // namespace settings
