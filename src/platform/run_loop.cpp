#include "platform/backend.h"

namespace platform {

int run_loop(LoopPass pass, LoopFinish finish) {
    for (uint64_t n = 0;; ++n) {
        if (const std::optional<int> code = pass(n)) return finish(*code);
    }
}

}  // namespace platform
