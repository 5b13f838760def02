#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

inline constexpr int kSampleRate = 44100;

// Stereo audio in floats (nominal range -1..1), one vector per side, equal lengths.
struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;
    size_t frames() const { return left.size(); }
};

// Encodes to a whole Ogg Vorbis file (VBR at the given quality, -0.1..1). The stream serial is
// fixed by the caller so that the same audio always gives the same bytes. The quality is the
// code's own constant, so libvorbis refusing it is a mistake in the code: std::runtime_error.
std::vector<uint8_t> encode_ogg_vorbis(const StereoBuffer& audio, float quality, int serial);

// A whole RIFF/WAVE file, 16-bit PCM mono at kSampleRate; samples are clamped to -1..1.
std::vector<uint8_t> encode_wav_mono16(const std::vector<float>& samples);

}  // namespace assetgen
