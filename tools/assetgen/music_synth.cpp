#include "assetgen/music_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assetgen::music {
namespace {

constexpr double kRate = kSampleRate;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// The fractional part, for phases; cheaper than floor() without SSE4.1 rounding.
double wrap(double phase) {
    const double w = phase - static_cast<double>(static_cast<int64_t>(phase));
    if (w >= 0) return w;
    return w + 1.0 < 1.0 ? w + 1.0 : 0.0;  // a tiny negative part must not round up to 1
}

// Equal-power panning: -1 left, 0 centre, +1 right.
struct Pan {
    float left, right;
    explicit Pan(double pan)
        : left(static_cast<float>(std::cos((pan + 1.0) * std::numbers::pi / 4.0))),
          right(static_cast<float>(std::sin((pan + 1.0) * std::numbers::pi / 4.0))) {}
};

// Writes one voice's samples into the mix with its pan and effect sends.
struct Output {
    Mix& mix;
    Pan pan;
    float reverb, echo;
    Output(Mix& m, double pan_position, double reverb_send, double echo_send)
        : mix(m),
          pan(pan_position),
          reverb(static_cast<float>(reverb_send)),
          echo(static_cast<float>(echo_send)) {}
    void add(size_t at, double sample) {
        const auto s = static_cast<float>(sample);
        mix.dry.left[at] += s * pan.left;
        mix.dry.right[at] += s * pan.right;
        mix.reverb[at] += s * reverb;
        mix.echo[at] += s * echo;
    }
};

// Linear attack, exponential decay to the sustain level, exponential release (-60 dB at the
// end of the release time), stepped one sample at a time.
class Envelope {
  public:
    Envelope(const Patch& p, int64_t held)
        : held_(held),
          attack_step_(1.0 / std::max(1.0, p.attack * kRate)),
          decay_k_(std::exp(-1.0 / std::max(1.0, p.decay * kRate))),
          release_k_(std::exp(-6.9 / std::max(1.0, p.release * kRate))),
          sustain_(p.sustain) {}
    double next() {
        if (at_++ >= held_) {
            level_ *= release_k_;
        } else if (attacking_) {
            level_ += attack_step_;
            if (level_ >= 1.0) {
                level_ = 1.0;
                attacking_ = false;
            }
        } else {
            level_ = sustain_ + (level_ - sustain_) * decay_k_;
        }
        return level_;
    }

  private:
    int64_t held_, at_ = 0;
    double attack_step_, decay_k_, release_k_, sustain_;
    double level_ = 0;
    bool attacking_ = true;
};

// Chamberlin state-variable low-pass; the cutoff is kept low enough to stay stable.
struct LowPass {
    double f = 1, low = 0, band = 0;
    static constexpr double kDamping = 0.9;
    void set(double cutoff) {
        f = 2.0 * std::sin(std::numbers::pi * std::clamp(cutoff, 20.0, 5000.0) / kRate);
    }
    double tick(double in) {
        low += f * band;
        const double high = in - low - kDamping * band;
        band += f * high;
        return low;
    }
};

// One-pole filters for the drums' noise.
struct OnePole {
    double a, y = 0;
    explicit OnePole(double cutoff) : a(1.0 - std::exp(-kTwoPi * cutoff / kRate)) {}
    double low(double x) { return y += a * (x - y); }
    double high(double x) { return x - low(x); }
};

size_t note_end(const Mix& mix, int64_t start, double seconds) {
    const auto end = start + static_cast<int64_t>(seconds * kRate);
    return static_cast<size_t>(std::clamp<int64_t>(end, 0, static_cast<int64_t>(mix.frames())));
}

// Vibrato fades in after the attack, so short notes stay steady.
class Vibrato {
  public:
    Vibrato(double depth, const Wavetable& sine) : depth_(depth), sine_(sine) {}
    double factor(double t) {
        if (depth_ <= 0 || t < kDelay) return 1.0;
        phase_ = wrap(phase_ + kSpeed / kRate);
        const double depth = depth_ * std::min(1.0, (t - kDelay) / 0.3);
        return 1.0 + 0.05776 * depth * sine_.at(phase_);  // 2^(d/12) near 1
    }

  private:
    static constexpr double kDelay = 0.18, kSpeed = 5.3;
    double depth_, phase_ = 0;
    const Wavetable& sine_;
};

void play_table(Mix& mix, const WaveSet& waves, const Patch& p, Rng& rng, int64_t start,
                int64_t held, double hz, double amp) {
    const Wavetable& table = waves[static_cast<size_t>(p.wave)];
    const double step = hz / kRate;
    const double step2 = step * std::pow(2.0, p.detune / 1200.0);
    double ph1 = rng.uniform(), ph2 = rng.uniform();
    Envelope env(p, held);
    Vibrato vibrato(p.vibrato, waves[0]);
    LowPass filter;
    Output out(mix, p.pan, p.reverb, p.echo);
    const size_t end = note_end(mix, start, static_cast<double>(held) / kRate + p.release);
    for (auto i = static_cast<size_t>(start); i < end; ++i) {
        const double t = static_cast<double>(i - static_cast<size_t>(start)) / kRate;
        const double m = vibrato.factor(t);
        ph1 = wrap(ph1 + step * m);
        double s = table.at(ph1);
        if (p.detune != 0) {
            ph2 = wrap(ph2 + step2 * m);
            s = 0.5 * (s + table.at(ph2));
        }
        if (p.cutoff > 0) {
            if ((i - static_cast<size_t>(start)) % 16 == 0)
                filter.set(p.cutoff + p.cutoff_boost * std::exp(-t / p.decay));
            s = filter.tick(s);
        }
        out.add(i, s * env.next() * amp);
    }
}

void play_fm(Mix& mix, const WaveSet& waves, const Patch& p, int64_t start, int64_t held, double hz,
             double amp) {
    const Wavetable& sine = waves[0];
    const double carrier = hz / kRate, modulator = carrier * p.fm_ratio;
    const double index_k = std::exp(-1.0 / (p.fm_decay * kRate));
    double pc = 0, pm = 0, index = p.fm_index / kTwoPi;
    const double index_floor = index * 0.12;
    Envelope env(p, held);
    Vibrato vibrato(p.vibrato, sine);
    Output out(mix, p.pan, p.reverb, p.echo);
    const size_t end = note_end(mix, start, static_cast<double>(held) / kRate + p.release);
    for (auto i = static_cast<size_t>(start); i < end; ++i) {
        const double t = static_cast<double>(i - static_cast<size_t>(start)) / kRate;
        const double m = vibrato.factor(t);
        pc = wrap(pc + carrier * m);
        pm = wrap(pm + modulator * m);
        const double s = sine.at(wrap(pc + (index_floor + index) * sine.at(pm)));
        index *= index_k;
        out.add(i, s * env.next() * amp);
    }
}

// Karplus-Strong: a noise burst circulating in a delay line one period long, smoothed a
// little on every pass, which gives a plucked string's bright attack and mellow decay.
void play_pluck(Mix& mix, const Patch& p, Rng& rng, int64_t start, int64_t held, double hz,
                double amp) {
    const double period = kRate / hz - 0.5;
    const size_t size = static_cast<size_t>(period) + 4;
    std::vector<double> line(size);
    OnePole tone(200.0 + 9000.0 * p.brightness);
    for (double& x : line) x = tone.low(rng.noise()) * 1.6;
    const double loss = std::exp(-6.9 / (std::max(0.05, p.decay) * hz));
    Envelope env(p, held);
    Output out(mix, p.pan, p.reverb, p.echo);
    size_t w = 0;
    const size_t end = note_end(mix, start, static_cast<double>(held) / kRate + p.release);
    auto read = [&](double back) {
        double pos = static_cast<double>(w) - back;
        if (pos < 0) pos += static_cast<double>(size);
        const auto i0 = static_cast<size_t>(pos);
        const double f = pos - static_cast<double>(i0);
        const size_t i1 = i0 + 1 == size ? 0 : i0 + 1;
        return line[i0] + f * (line[i1] - line[i0]);
    };
    for (auto i = static_cast<size_t>(start); i < end; ++i) {
        const double y = loss * 0.5 * (read(period) + read(period + 1.0));
        line[w] = y;
        if (++w == size) w = 0;
        out.add(i, y * env.next() * amp);
    }
}

}  // namespace

Wavetable::Wavetable(const std::vector<double>& harmonics) {
    double peak = 0;
    for (int i = 0; i <= kSize; ++i) {
        double s = 0;
        for (size_t h = 0; h < harmonics.size(); ++h)
            s += harmonics[h] * std::sin(kTwoPi * static_cast<double>(h + 1) * i / kSize);
        samples_[i] = static_cast<float>(s);
        peak = std::max(peak, std::abs(s));
    }
    for (float& s : samples_) s = static_cast<float>(s / peak);
}

WaveSet make_waves() {
    std::vector<double> saw, square, soft;
    for (int h = 1; h <= 14; ++h) {
        saw.push_back(1.0 / h);
        square.push_back(h % 2 ? 1.0 / h : 0.0);
        soft.push_back(1.0 / (h * h));
    }
    WaveSet waves;
    waves[static_cast<size_t>(Wave::Sine)] = Wavetable({1.0});
    waves[static_cast<size_t>(Wave::Soft)] = Wavetable(soft);
    waves[static_cast<size_t>(Wave::Saw)] = Wavetable(saw);
    waves[static_cast<size_t>(Wave::Square)] = Wavetable(square);
    waves[static_cast<size_t>(Wave::Flute)] = Wavetable({1.0, 0.25, 0.1, 0.05, 0.02});
    waves[static_cast<size_t>(Wave::Organ)] = Wavetable({1.0, 0.7, 0.45, 0.3, 0, 0.2, 0, 0.12});
    return waves;
}

double midi_hz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

void play_note(Mix& mix, const WaveSet& waves, const Patch& patch, Rng& rng, int64_t start,
               int64_t held, int midi, double velocity) {
    const double hz = midi_hz(midi);
    const double amp = patch.gain * velocity;
    switch (patch.voice) {
        case Voice::Table:
            play_table(mix, waves, patch, rng, start, held, hz, amp);
            break;
        case Voice::Fm:
            play_fm(mix, waves, patch, start, held, hz, amp);
            break;
        case Voice::Pluck:
            play_pluck(mix, patch, rng, start, held, hz, amp);
            break;
    }
}

namespace {

// A drum hit: a short tone and a noise burst, each with its own decay, shaped by filters.
struct Hit {
    double tone_hz = 0, tone_drop_hz = 0, tone_decay = 0.01, tone_level = 0;
    double noise_decay = 0.01, noise_level = 0, noise_high = 0, noise_low = 20000;
    double attack = 0.0005, length = 0.1, pan = 0, reverb = 0;
};

Hit describe(const Kit& kit, Drum drum) {
    switch (drum) {
        case Drum::Kick:
            return {.tone_hz = kit.kick_low,
                    .tone_drop_hz = kit.kick_high - kit.kick_low,
                    .tone_decay = kit.kick_decay / 3,
                    .tone_level = 1.0,
                    .noise_decay = 0.003,
                    .noise_level = 0.25,
                    .noise_high = 1500,
                    .noise_low = 8000,
                    .length = kit.kick_decay,
                    .reverb = 0.03};
        case Drum::Snare:
            return {.tone_hz = kit.snare_tone,
                    .tone_drop_hz = 40,
                    .tone_decay = 0.05,
                    .tone_level = 0.45,
                    .noise_decay = kit.snare_decay / 3,
                    .noise_level = 0.7,
                    .noise_high = 1200,
                    .noise_low = 9000,
                    .length = kit.snare_decay,
                    .pan = 0.05,
                    .reverb = 0.25};
        case Drum::Hat:
            return {.noise_decay = kit.hat_decay,
                    .noise_level = 0.35,
                    .noise_high = 7000,
                    .attack = 0.0003,
                    .length = kit.hat_decay * 6,
                    .pan = 0.3,
                    .reverb = 0.06};
        case Drum::OpenHat:
            return {.noise_decay = 0.09,
                    .noise_level = 0.3,
                    .noise_high = 6500,
                    .length = 0.5,
                    .pan = 0.3,
                    .reverb = 0.1};
        case Drum::Crash:
            return {.noise_decay = 0.45,
                    .noise_level = 0.3,
                    .noise_high = 4000,
                    .noise_low = 16000,
                    .attack = 0.002,
                    .length = 2.2,
                    .pan = -0.35,
                    .reverb = 0.3};
        case Drum::Shaker:
            return {.noise_decay = 0.03,
                    .noise_level = 0.35,
                    .noise_high = 4500,
                    .noise_low = 11000,
                    .attack = 0.012,
                    .length = 0.16,
                    .pan = -0.3,
                    .reverb = 0.15};
        case Drum::Rim:
            return {.tone_hz = 1650,
                    .tone_decay = 0.012,
                    .tone_level = 0.5,
                    .noise_decay = 0.006,
                    .noise_level = 0.3,
                    .noise_high = 2000,
                    .noise_low = 8000,
                    .attack = 0.0003,
                    .length = 0.06,
                    .pan = 0.2,
                    .reverb = 0.3};
    }
    return {};
}

}  // namespace

void play_drum(Mix& mix, const Kit& kit, Drum drum, Rng& rng, int64_t start, double velocity) {
    const Hit h = describe(kit, drum);
    OnePole high(h.noise_high), low(h.noise_low);
    Output out(mix, h.pan, h.reverb, 0.0);
    const size_t end = note_end(mix, start, h.length);
    double phase = 0;
    const double amp = velocity * kit.gain;
    const double fade_from = h.length * 0.7;
    for (auto i = static_cast<size_t>(start); i < end; ++i) {
        const double t = static_cast<double>(i - static_cast<size_t>(start)) / kRate;
        double s = 0;
        if (h.tone_level > 0) {
            // The kick's pitch falls fast from its high to its low note.
            phase = wrap(phase + (h.tone_hz + h.tone_drop_hz * std::exp(-t / 0.035)) / kRate);
            s += h.tone_level * std::sin(kTwoPi * phase) * std::exp(-t / h.tone_decay);
        }
        s += h.noise_level * low.low(high.high(rng.noise())) * std::exp(-t / h.noise_decay);
        const double attack = std::min(1.0, t / h.attack);
        const double tail = t > fade_from ? (h.length - t) / (h.length - fade_from) : 1.0;
        out.add(i, s * attack * tail * amp);
    }
}

namespace {

// A small Schroeder/Moorer room: parallel damped combs, then all-passes; the right side's
// delays are a little longer, which widens the sound.
class Reverb {
  public:
    explicit Reverb(int spread) {
        for (int len : {1116, 1188, 1277, 1356, 1422, 1491}) combs_.push_back(Comb(len + spread));
        for (int len : {556, 441, 341}) passes_.push_back(AllPass(len + spread));
    }
    double tick(double in) {
        double out = 0;
        for (Comb& c : combs_) out += c.tick(in);
        for (AllPass& a : passes_) out = a.tick(out);
        return out;
    }

  private:
    struct Comb {
        std::vector<double> buf;
        size_t at = 0;
        double store = 0;
        explicit Comb(int len) : buf(static_cast<size_t>(len)) {}
        double tick(double in) {
            const double out = buf[at];
            store = out * 0.7 + store * 0.3;
            buf[at] = in + store * 0.82;
            if (++at == buf.size()) at = 0;
            return out;
        }
    };
    struct AllPass {
        std::vector<double> buf;
        size_t at = 0;
        explicit AllPass(int len) : buf(static_cast<size_t>(len)) {}
        double tick(double in) {
            const double b = buf[at];
            buf[at] = in + b * 0.5;
            if (++at == buf.size()) at = 0;
            return b - in;
        }
    };
    std::vector<Comb> combs_;
    std::vector<AllPass> passes_;
};

}  // namespace

void apply_effects(Mix& mix, int64_t echo_frames) {
    Reverb left(0), right(23);
    constexpr double kWet = 0.06;
    const auto delay = static_cast<size_t>(std::max<int64_t>(1, echo_frames));
    std::vector<double> echo_l(delay), echo_r(delay);
    OnePole dull_l(3500), dull_r(3500);
    constexpr double kFeedback = 0.42, kEchoWet = 0.7;
    size_t at = 0;
    for (size_t i = 0; i < mix.frames(); ++i) {
        const double r = mix.reverb[i];
        const double dl = echo_l[at], dr = echo_r[at];
        // Ping-pong: the echo alternates sides, each repeat a little duller.
        echo_l[at] = mix.echo[i] + dull_l.low(dr) * kFeedback;
        echo_r[at] = dull_r.low(dl) * kFeedback;
        if (++at == delay) at = 0;
        mix.dry.left[i] += static_cast<float>(left.tick(r) * kWet + dl * kEchoWet);
        mix.dry.right[i] += static_cast<float>(right.tick(r) * kWet + dr * kEchoWet);
    }
}

}  // namespace assetgen::music
