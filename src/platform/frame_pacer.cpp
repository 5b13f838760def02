#include "platform/frame_pacer.h"

namespace platform {

namespace {

constexpr int kProbeFrames = 30;
constexpr uint64_t kProbeMinMs = 120;  // 30 presents in less than this did not wait

}  // namespace

uint64_t FramePacer::after_present(uint64_t now, uint64_t rate) {
    if (!self_paced_) {
        if (probe_frames_ > kProbeFrames) return 0;
        if (probe_frames_++ == 0) {
            probe_start_ = now;
        } else if (probe_frames_ > kProbeFrames && now - probe_start_ < rate * kProbeMinMs / 1000) {
            self_paced_ = true;
        }
        return 0;
    }
    const uint64_t frame = rate / 60;
    // A frame that ran long, or a clock that went back, starts the rhythm afresh instead of
    // rushing to catch up.
    if (next_frame_ == 0 || now > next_frame_ + frame || next_frame_ > now + 2 * frame) {
        next_frame_ = now;
    }
    next_frame_ += frame;
    return next_frame_ > now ? next_frame_ - now : 0;
}

}  // namespace platform
