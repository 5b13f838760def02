// The 60 Hz pacing both real backends use: probing whether presents wait for the display, and
// the rhythm kept when they don't.
#include "platform/frame_pacer.h"

#include <gtest/gtest.h>

namespace {

using platform::FramePacer;

constexpr uint64_t kRate = 3000;  // thirds of a millisecond: a frame is exactly 50
constexpr uint64_t kFrame = kRate / 60;

// Presents 31 frames `step` ticks apart from `start`; the last present's answer.
uint64_t probe(FramePacer& pacer, uint64_t start, uint64_t step) {
    uint64_t wait = 0;
    for (int i = 0; i <= 30; ++i) wait = pacer.after_present(start + i * step, kRate);
    return wait;
}

TEST(FramePacer, ADisplayThatWaitsSetsThePaceAndOneThatDoesNotIsPacedAfterTheProbe) {
    FramePacer waits;
    probe(waits, 1000, kFrame);
    EXPECT_EQ(waits.after_present(1000 + 31 * kFrame, kRate), 0u);
    EXPECT_EQ(waits.after_present(1000 + 31 * kFrame + 1, kRate), 0u);

    FramePacer rushes;
    EXPECT_EQ(probe(rushes, 1000, 1), 0u) << "no wait while still probing";
    EXPECT_EQ(rushes.after_present(1031, kRate), kFrame);
}

TEST(FramePacer, KeepsTheRhythmAndStartsAfreshAfterALateFrameOrAClockThatWentBack) {
    FramePacer pacer = FramePacer::always();
    EXPECT_EQ(pacer.after_present(9000, kRate), kFrame);
    // The next frame came 20 ticks after the last was due: only the rest of the frame is waited.
    EXPECT_EQ(pacer.after_present(9000 + kFrame + 20, kRate), kFrame - 20);
    // More than a whole frame late: the rhythm starts again from now, never rushing.
    EXPECT_EQ(pacer.after_present(9000 + 10 * kFrame, kRate), kFrame);
    // A clock that wrapped to near zero waits one frame, not the hours back to the old time.
    EXPECT_EQ(pacer.after_present(10, kRate), kFrame);
}

}  // namespace
