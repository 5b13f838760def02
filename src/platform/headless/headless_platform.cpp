#include "platform/headless/headless_platform.h"

namespace platform {

HeadlessPlatform::HeadlessPlatform(uint32_t tick_ms)
    : tick_ms_(tick_ms),
      back_buffer_(kScreenWidth, kScreenHeight),
      audio_([this] { return ticks(); }) {}

void HeadlessPlatform::begin_pass(uint64_t pass) {
    pass_ = pass;
}

bool HeadlessPlatform::peek_message(Message& out) {
    if (queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    return true;
}

void HeadlessPlatform::post_message(const Message& message) {
    queue_.push_back(message);
}

void HeadlessPlatform::drop_files(std::vector<std::filesystem::path> files) {
    const auto count = static_cast<uint32_t>(files.size());
    dropped_ = std::move(files);
    post_message({kWmDropFiles, count, 0});
}

FlipResult HeadlessPlatform::flip() {
    ++flips_;
    if (lost_flips_ > 0) {
        --lost_flips_;
        return FlipResult::Lost;
    }
    return FlipResult::Ok;
}

uint32_t HeadlessPlatform::ticks() {
    return clock_base_ + static_cast<uint32_t>((pass_ - clock_pass_) * tick_ms_);
}

void HeadlessPlatform::set_ticks(uint32_t ms) {
    clock_base_ = ms;
    clock_pass_ = pass_;
}

}  // namespace platform
