#include "assetgen/music.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "assetgen/music_encode.h"
#include "assetgen/music_score.h"

namespace assetgen {
namespace music {
namespace {

const Patch& patch_for(const Style& style, Part part) {
    switch (part) {
        case Part::Lead:
            return style.lead;
        case Part::Counter:
            return style.counter;
        case Part::Pad:
            return style.pad;
        case Part::Arp:
            return style.arp_patch;
        case Part::Bass:
            return style.bass_patch;
    }
    return style.lead;
}

// The second half of the last bar fades to nothing, so that when the game starts the track
// again the join is silent instead of a cut-off chord and reverb.
void fade_out(StereoBuffer& audio, int64_t bar_frames) {
    const auto length = static_cast<size_t>(bar_frames / 2);
    const size_t from = audio.frames() - length;
    for (size_t i = from; i < audio.frames(); ++i) {
        const double x = static_cast<double>(audio.frames() - i) / static_cast<double>(length);
        const auto gain = static_cast<float>(std::sin(x * std::numbers::pi / 2) *
                                             std::sin(x * std::numbers::pi / 2));
        audio.left[i] *= gain;
        audio.right[i] *= gain;
    }
}

float peak_of(const StereoBuffer& audio) {
    float peak = 1e-9f;
    for (size_t i = 0; i < audio.frames(); ++i)
        peak = std::max({peak, std::abs(audio.left[i]), std::abs(audio.right[i])});
    return peak;
}

// Scales the loudest sample to `target`, first rounding off the drum peaks with a gentle
// saturation so the music itself can sit louder. -2 dB leaves the encoder room for its
// small overshoots.
void normalise(StereoBuffer& audio, float target) {
    constexpr double kDrive = 1.3;
    const double into = kDrive / peak_of(audio);
    auto shape = [into](float& s) { s = static_cast<float>(std::tanh(s * into)); };
    std::for_each(audio.left.begin(), audio.left.end(), shape);
    std::for_each(audio.right.begin(), audio.right.end(), shape);
    const float gain = target / peak_of(audio);
    for (size_t i = 0; i < audio.frames(); ++i) {
        audio.left[i] *= gain;
        audio.right[i] *= gain;
    }
}

}  // namespace

StereoBuffer render(const Style& style, const Score& score) {
    Mix mix(static_cast<size_t>(score.frames()));
    const WaveSet waves = make_waves();
    Rng rng(style.seed * 31 + 7);
    for (const Note& n : score.notes) {
        Patch patch = patch_for(style, n.part);
        // The chord's notes are spread left to right by pitch, which widens the pad.
        if (n.part == Part::Pad) patch.pan += 0.35 * (n.midi % 3 - 1);
        play_note(mix, waves, patch, rng, n.start, n.held, n.midi, n.velocity);
    }
    for (const Beat& b : score.beats) play_drum(mix, style.kit, b.drum, rng, b.start, b.velocity);
    apply_effects(mix, score.bar_frames * 3 / 16);
    StereoBuffer audio = std::move(mix.dry);
    fade_out(audio, score.bar_frames);
    normalise(audio, 0.8f);
    return audio;
}

}  // namespace music

std::vector<uint8_t> compose_track_ogg(int track) {
    const music::Style style = music::track_style(track);
    const music::Score score = music::compose(style);
    // One serial for every track: the files then differ only where the music does.
    return encode_ogg_vorbis(music::render(style, score), 0.3f, 0x5641534c);
}

}  // namespace assetgen
