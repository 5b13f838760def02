#include "assetgen/music.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "assetgen/music_encode.h"

namespace assetgen {

std::vector<uint8_t> compose_track_ogg(int track) {
    if (track < 0 || track >= kTrackCount) throw std::out_of_range("no such music track");
    const double bar = 2.4;
    const int bars = 24;
    const auto frames = static_cast<size_t>(bar * bars * kSampleRate);
    StereoBuffer audio{std::vector<float>(frames), std::vector<float>(frames)};
    const double roots[] = {220.0, 246.94, 261.63, 293.66, 329.63, 349.23};
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double in_bar = std::fmod(t, bar);
        const double env = std::exp(-3.0 * in_bar) * (1.0 - static_cast<double>(i) / frames);
        const double f = roots[track] * (static_cast<int>(t / bar) % 2 ? 1.5 : 1.0);
        const auto s = static_cast<float>(0.3 * env * std::sin(2 * std::numbers::pi * f * t));
        audio.left[i] = s;
        audio.right[i] = s;
    }
    return encode_ogg_vorbis(audio, 0.3f, 0x56415355);
}

std::vector<uint8_t> make_snap_wav() {
    const auto frames = static_cast<size_t>(0.2 * kSampleRate);
    std::vector<float> samples(frames);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        samples[i] = static_cast<float>(0.6 * std::exp(-t / 0.03) *
                                        std::sin(2 * std::numbers::pi * 1200.0 * t));
    }
    return encode_wav_mono16(samples);
}

}  // namespace assetgen
