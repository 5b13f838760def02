#include "platform/data_source.h"

#include <algorithm>
#include <system_error>

namespace platform {

namespace {

Error missing() {
    return {ErrorKind::Missing, "is missing"};
}

FileBytes copy_of(const std::vector<uint8_t>& bytes, uint64_t first, uint64_t count) {
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(first);
    return std::vector<uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(count));
}

}  // namespace

FileBytes FileDataSource::read(std::string_view name, uint64_t max_bytes) const {
    return read_data_file(path(name), max_bytes);
}

FileBytes FileDataSource::read_range(std::string_view name, uint64_t first, uint64_t count) const {
    return read_data_range(path(name), first, count);
}

FileBytes FileDataSource::read_head(std::string_view name, uint64_t count) const {
    return DataFile(path(name)).read(0, count);
}

FileLength FileDataSource::size(std::string_view name) const {
    const DataFile file(path(name));
    if (!file.is_open()) return file.error();
    return file.size();
}

std::string FileDataSource::shown(std::string_view name) const {
    return path(name).lexically_normal().string();
}

std::string FileDataSource::shown_in_full(std::string_view folder) const {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path(folder), ec);
    return (ec ? path(folder) : full).lexically_normal().string();
}

void MemoryDataSource::put(std::string name, std::vector<uint8_t> bytes) {
    files_[std::move(name)] = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

void MemoryDataSource::remove(std::string_view name) {
    if (const auto it = files_.find(name); it != files_.end()) files_.erase(it);
}

const std::vector<uint8_t>* MemoryDataSource::find(std::string_view name) const {
    const auto it = files_.find(name);
    return it == files_.end() || !it->second ? nullptr : it->second.get();
}

FileBytes MemoryDataSource::read(std::string_view name, uint64_t max_bytes) const {
    const std::vector<uint8_t>* bytes = find(name);
    if (!bytes) return missing();
    if (bytes->size() > max_bytes) {
        return Error{ErrorKind::TooLarge, "is larger than " + std::to_string(max_bytes) + " bytes"};
    }
    return copy_of(*bytes, 0, bytes->size());
}

FileBytes MemoryDataSource::read_range(std::string_view name, uint64_t first,
                                       uint64_t count) const {
    const std::vector<uint8_t>* bytes = find(name);
    if (!bytes) return missing();
    if (first > bytes->size() || count > bytes->size() - first) {
        return Error{ErrorKind::Short, "ends before the bytes asked for"};
    }
    return copy_of(*bytes, first, count);
}

FileBytes MemoryDataSource::read_head(std::string_view name, uint64_t count) const {
    const std::vector<uint8_t>* bytes = find(name);
    if (!bytes) return missing();
    return copy_of(*bytes, 0, std::min<uint64_t>(count, bytes->size()));
}

FileLength MemoryDataSource::size(std::string_view name) const {
    const std::vector<uint8_t>* bytes = find(name);
    if (!bytes) return missing();
    return static_cast<uint64_t>(bytes->size());
}

std::string MemoryDataSource::shown_in_full(std::string_view folder) const {
    return std::string(folder) + " (in memory)";
}

}  // namespace platform
