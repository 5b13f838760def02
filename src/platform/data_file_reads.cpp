// Whole files and byte ranges, on top of either side's DataFile.
#include "platform/data_file.h"

namespace platform {

FileBytes read_data_file(const std::filesystem::path& path, uint64_t max_bytes) {
    DataFile file(path);
    const std::string too_large = "is larger than " + std::to_string(max_bytes) + " bytes";
    if (file.is_open() && file.size() > max_bytes) return {{}, ReadError::TooLarge, too_large};
    // One byte past the limit tells a file that grew since it was opened.
    const uint64_t ask = max_bytes == kNoSizeLimit ? kNoSizeLimit : max_bytes + 1;
    FileBytes bytes = file.read(0, ask);
    if (bytes && bytes.bytes.size() > max_bytes) return {{}, ReadError::TooLarge, too_large};
    return bytes;
}

FileBytes read_data_range(const std::filesystem::path& path, uint64_t offset, uint64_t count) {
    const char* const kShort = "ends before the bytes asked for";
    DataFile file(path);
    if (file.is_open() && (offset > file.size() || count > file.size() - offset)) {
        return {{}, ReadError::Short, kShort};
    }
    FileBytes bytes = file.read(offset, count);
    if (bytes && bytes.bytes.size() != count) {
        return {{}, ReadError::Short, kShort};
    }
    return bytes;
}

}  // namespace platform
