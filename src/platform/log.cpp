#include "platform/log.h"

#include <cstdio>

namespace platform {

void warn(std::string_view line) {
    std::fprintf(stderr, "vasul: warning: %.*s\n", static_cast<int>(line.size()), line.data());
}

void error(std::string_view line) {
    std::fprintf(stderr, "vasul: %.*s\n", static_cast<int>(line.size()), line.data());
}

}  // namespace platform
