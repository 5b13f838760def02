#include <algorithm>
#include <cmath>
#include <numbers>

#include "assetgen/music.h"
#include "assetgen/music_encode.h"
#include "assetgen/music_synth.h"

namespace assetgen {

// The sound of a piece clicking home: a short wooden "tock" (a falling sine with an
// inharmonic overtone), a soft low thump for body, and a bright noise tick on the attack.
std::vector<uint8_t> make_snap_wav() {
    constexpr double kLength = 0.18, kFade = 0.03;
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    const auto frames = static_cast<size_t>(kLength * kSampleRate);
    std::vector<float> samples(frames);
    music::Rng rng(0x736e6170);
    double tock = 0, overtone = 0, thump = 0, last_noise = 0;
    float peak = 0;
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double pitch = 1250.0 + 650.0 * std::exp(-t / 0.004);
        tock += pitch / kSampleRate;
        overtone += 2.76 * pitch / kSampleRate;
        thump += (240.0 + 80.0 * std::exp(-t / 0.01)) / kSampleRate;
        const double noise = rng.noise();
        const double tick = (noise - last_noise) * 0.5;  // a first difference: only the highs
        last_noise = noise;
        double s = std::sin(kTwoPi * tock) * std::exp(-t / 0.022) +
                   0.35 * std::sin(kTwoPi * overtone) * std::exp(-t / 0.008) +
                   0.45 * std::sin(kTwoPi * thump) * std::exp(-t / 0.03) +
                   0.5 * tick * std::exp(-t / 0.0015);
        s *= std::min(1.0, t / 0.0003);  // no step at the very first sample
        const double left = kLength - t;
        if (left < kFade) s *= left / kFade;
        samples[i] = static_cast<float>(s);
        peak = std::max(peak, std::abs(samples[i]));
    }
    for (float& s : samples) s *= 0.85f / peak;
    return encode_wav_mono16(samples);
}

}  // namespace assetgen
