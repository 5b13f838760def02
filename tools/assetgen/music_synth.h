#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "assetgen/music_encode.h"

namespace assetgen::music {

// splitmix64: small, fast and the same on every platform, so the music never changes.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double noise() { return uniform() * 2.0 - 1.0; }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    bool chance(double p) { return uniform() < p; }

  private:
    uint64_t state_;
};

enum class Wave { Sine, Soft, Saw, Square, Flute, Organ, Count };

// One cycle of a band-limited waveform, read with linear interpolation.
class Wavetable {
  public:
    static constexpr int kSize = 2048;
    Wavetable() = default;
    explicit Wavetable(const std::vector<double>& harmonics);
    float at(double phase) const {  // phase in [0, 1)
        const double x = phase * kSize;
        const int i = static_cast<int>(x);
        const float f = static_cast<float>(x - i);
        return samples_[i] + f * (samples_[i + 1] - samples_[i]);
    }

  private:
    std::array<float, kSize + 1> samples_{};
};

using WaveSet = std::array<Wavetable, static_cast<size_t>(Wave::Count)>;
WaveSet make_waves();

enum class Voice { Table, Fm, Pluck };

// How a pitched instrument sounds. Times are in seconds, levels 0..1.
struct Patch {
    Voice voice = Voice::Table;
    Wave wave = Wave::Sine;
    double detune = 0;  // cents between the two oscillators of a Table voice; 0 plays one
    double attack = 0.005, decay = 0.3, sustain = 0.6, release = 0.2;
    double fm_ratio = 1, fm_index = 0, fm_decay = 0.4;  // Fm: index at the attack, falling
    double cutoff = 0, cutoff_boost = 0;  // low-pass in Hz (0 = open), extra at the attack
    double vibrato = 0;                   // depth in semitones, fading in after the attack
    double brightness = 0.5;              // Pluck: 0 dull .. 1 bright
    double gain = 0.3, pan = 0, reverb = 0.2, echo = 0;
};

// The drum sounds of one track.
struct Kit {
    double kick_high = 140, kick_low = 48, kick_decay = 0.3;
    double snare_tone = 190, snare_decay = 0.16;
    double hat_decay = 0.035;
    double gain = 1.0;
};

enum class Drum { Kick, Snare, Hat, OpenHat, Crash, Shaker, Rim };

// The mix a track is rendered into: dry stereo plus mono sends to the reverb and the echo.
struct Mix {
    StereoBuffer dry;
    std::vector<float> reverb;
    std::vector<float> echo;
    explicit Mix(size_t frames)
        : dry{std::vector<float>(frames), std::vector<float>(frames)},
          reverb(frames),
          echo(frames) {}
    size_t frames() const { return dry.frames(); }
};

double midi_hz(double midi);

void play_note(Mix& mix, const WaveSet& waves, const Patch& patch, Rng& rng, int64_t start,
               int64_t held, int midi, double velocity);
void play_drum(Mix& mix, const Kit& kit, Drum drum, Rng& rng, int64_t start, double velocity);

// Adds the reverb and the echo (a ping-pong delay of `echo_frames`) of the sends to the dry mix.
void apply_effects(Mix& mix, int64_t echo_frames);

}  // namespace assetgen::music
