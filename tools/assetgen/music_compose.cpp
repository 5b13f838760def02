#include <algorithm>
#include <cmath>
#include <string_view>

#include "assetgen/music_score.h"

namespace assetgen::music {
namespace {

constexpr int kSteps = 16;  // sixteenths in a bar of 4/4

// Melody rhythms, a bar each: x a note, - held, . rest. By density: calm, moving, busy.
constexpr std::string_view kRhythms[3][6] = {
    {"x-------x---x---", "x-----x-x-------", "x---x---x-------", "x-----------x---",
     "..x-x---x-------", "x---x-x-x-------"},
    {"x-x-x---x---x-x-", "x---x-x-x-----x-", "x-----x-x-x-x---", "x-x-x-x-x-------",
     "..x-x-x-x---x---", "x--x--x-x---x---"},
    {"x-x-xxx-x-x-x---", "xxx-x-x-x-xxx-x-", "x--x--x-x-x-x-x-", "x-x-x-x-xx-xx---",
     "x-xxx-x-x---x-x-", "x-x-x--xx-x-x-x-"},
};
// The closing bar of a phrase, ending on a long note.
constexpr std::string_view kCadences[3][2] = {
    {"x-------x-------", "x---x---x-------"},
    {"x---x---x-------", "x-x-x---x-------"},
    {"x-x-x-x-x-------", "xx-xx-x-x-------"},
};
constexpr std::string_view kLastBar = "x---------------";

struct MotifNote {
    int start;  // sixteenths from the motif's start
    int length;
    int step;  // scale steps from the previous note; the first from the chord's root
};
using Motif = std::vector<MotifNote>;

void parse_rhythm(std::string_view bar, int offset, Motif& out) {
    for (int i = 0; i < kSteps; ++i) {
        if (bar[i] != 'x') continue;
        int length = 1;
        while (i + length < kSteps && bar[i + length] == '-') ++length;
        out.push_back({offset + i, length, 0});
    }
}

// Two bars of rhythm with a rising-then-falling line of mostly small steps: a shape that
// stays recognisable when it comes back over other chords.
Motif make_motif(Rng& rng, int density) {
    const auto& rhythms = kRhythms[density];
    const int a = rng.below(6);
    int b = rng.below(5);
    if (b >= a) ++b;
    Motif motif;
    parse_rhythm(rhythms[a], 0, motif);
    parse_rhythm(rhythms[b], kSteps, motif);
    static constexpr int kOpenings[] = {4, 4, 2, 2, 7, 0};
    motif[0].step = kOpenings[rng.below(6)];
    const auto n = static_cast<int>(motif.size());
    for (int i = 1; i < n; ++i) {
        bool up = i < n * 55 / 100;
        if (rng.chance(0.25)) up = !up;
        const double r = rng.uniform();
        const int size = r < 0.55 ? 1 : r < 0.8 ? 2 : r < 0.9 ? 0 : 3;
        motif[static_cast<size_t>(i)].step = up ? size : -size;
    }
    return motif;
}

int floor_mod(int a, int n) {
    return ((a % n) + n) % n;
}
int floor_div(int a, int n) {
    return (a - floor_mod(a, n)) / n;
}

class Composer {
  public:
    explicit Composer(const Style& style) : s_(style), rng_(style.seed) {
        score_.bars = static_cast<int>(style.form.size()) * 4;
        score_.bar_frames = std::llround(kSampleRate * 240.0 / style.bpm);
        lead_base_ = place(style.tonic, 67);
        arp_base_ = place(style.tonic, 53);
        bass_base_ = place(style.tonic, 36);
        motifs_[0] = make_motif(rng_, style.density);
        motifs_[1] = make_motif(rng_, style.density);
    }

    Score run() {
        int seen[128] = {};
        for (size_t p = 0; p < s_.form.size(); ++p) {
            const char letter = s_.form[p];
            const int first_bar = static_cast<int>(p) * 4;
            const bool last = p + 1 == s_.form.size();
            const bool change = !last && (p == 0 || s_.form[p + 1] != letter);
            phrase(letter, seen[static_cast<unsigned char>(letter)]++, first_bar, change);
            if (p > 0 && s_.groove.crash) beat(Drum::Crash, first_bar, 0, 0.8);
        }
        return std::move(score_);
    }

  private:
    // The pitch of the key note in the octave starting at `low`.
    static int place(int tonic, int low) { return low + floor_mod(tonic - low, 12); }

    int pitch(int base, int degree) const {
        return base + 12 * floor_div(degree, 7) +
               s_.mode[static_cast<size_t>(floor_mod(degree, 7))];
    }

    int64_t at(int bar, int step) const {
        double t = bar * static_cast<double>(score_.bar_frames) +
                   step * static_cast<double>(score_.bar_frames) / kSteps;
        if (step % 2 == 1) t += s_.swing * static_cast<double>(score_.bar_frames) / kSteps;
        return std::llround(t);
    }
    int64_t span(int steps) const { return score_.bar_frames * steps / kSteps; }

    void note(Part part, int bar, int step, int steps, int midi, double velocity) {
        score_.notes.push_back({part, at(bar, step), span(steps), midi, velocity});
    }
    void beat(Drum drum, int bar, int step, double velocity) {
        score_.beats.push_back({drum, at(bar, step), velocity});
    }

    const std::array<int, 4>& chords_for(char letter) const {
        if (letter == 'B') return s_.bridge;
        if (letter == 'a' || letter == 'E') return s_.cadence;
        return s_.verse;
    }

    void phrase(char letter, int occurrence, int first_bar, bool fill) {
        const auto& chords = chords_for(letter);
        const bool intro = letter == 'I', ending = letter == 'E';
        for (int b = 0; b < 4; ++b) {
            const int bar = first_bar + b;
            const int root = chords[static_cast<size_t>(b)];
            const int next_root = b < 3 ? chords[static_cast<size_t>(b + 1)] : s_.verse[0];
            const bool final_bar = ending && b == 3;
            pad(bar, root);
            if (final_bar) {
                bass(bar, root, root, kLastBar);
                roll(bar, root);
                beat(Drum::Kick, bar, 0, 0.9);
                if (s_.groove.crash) beat(Drum::Crash, bar, 0, 0.9);
                continue;
            }
            if (!(intro && b < 2)) {
                bass(bar, root, next_root, s_.bass);
            } else if (s_.density > 0) {
                bass(bar, root, root, kLastBar);
            }
            const bool arp_on = intro ? b >= 2 : !(letter == 'A' && occurrence == 0);
            if (arp_on) arpeggio(bar, root);
            drums(bar, intro && b < 2, fill && b == 3);
        }
        if (!intro) melody(letter, occurrence, first_bar, chords);
    }

    bool chord_tone(int degree, int root) const {
        const int d = floor_mod(degree - root, 7);
        return d == 0 || d == 2 || d == 4;
    }

    // The nearest chord note, looking first in the direction the line was going.
    int snap(int degree, int root, int direction) const {
        const int first = direction < 0 ? -1 : 1;
        for (int k = 0; k <= 3; ++k) {
            if (chord_tone(degree + first * k, root)) return degree + first * k;
            if (chord_tone(degree - first * k, root)) return degree - first * k;
        }
        return degree;
    }

    void lead(int bar, int step, int length, int degree, int root, bool counter, double velocity) {
        note(Part::Lead, bar, step, length, pitch(lead_base_, degree), velocity);
        if (!counter) return;
        // A third below, or a fifth below the chord's root, so the two voices stay consonant.
        const int below = floor_mod(degree - root, 7) == 0 ? degree - 3 : degree - 2;
        note(Part::Counter, bar, step, length, pitch(lead_base_, below), velocity * 0.8);
    }

    // A phrase of the melody: the motif over the first two chords, its first bar again over
    // the third, then a closing bar that walks onto the key note (or, for an open phrase, onto
    // the nearest note of the last chord).
    void melody(char letter, int occurrence, int first_bar, const std::array<int, 4>& chords) {
        const Motif& motif = motifs_[letter == 'B' ? 1 : 0];
        const bool counter = occurrence > 0 || letter == 'E';
        const int shift = occurrence % 2 == 1 ? 2 : 0;  // a repeat comes back a third higher
        const bool ornament = occurrence >= 2;
        constexpr int kLow = -3, kHigh = 8;
        int previous = last_degree_;
        for (int pass = 0; pass < 2; ++pass) {
            for (size_t k = 0; k < motif.size(); ++k) {
                const MotifNote& m = motif[k];
                if (pass == 1 && m.start >= kSteps) break;
                const int bar_in_phrase = pass * 2 + m.start / kSteps;
                const int root = chords[static_cast<size_t>(bar_in_phrase)];
                const int step = m.start % kSteps;
                int degree = previous + m.step;
                if (k == 0) {
                    // The motif starts over on its chord, in the octave nearest the last note.
                    degree = root + m.step + shift;
                    while (degree - previous > 4) degree -= 7;
                    while (previous - degree > 4) degree += 7;
                }
                if (degree > kHigh || degree < kLow)
                    degree = std::clamp(previous - m.step, kLow, kHigh);
                if (step % 8 == 0 || m.length >= 4) degree = snap(degree, root, m.step);
                const double velocity = (step % 4 == 0 ? 0.9 : 0.75) + 0.1 * rng_.uniform();
                const int bar = first_bar + bar_in_phrase;
                if (ornament && m.length >= 4) {
                    lead(bar, step, m.length - 2, degree, root, counter, velocity);
                    lead(bar, step + m.length - 2, 2, degree + 1, root, counter, velocity * 0.8);
                } else {
                    lead(bar, step, m.length, degree, root, counter, velocity);
                }
                previous = degree;
            }
        }
        const bool resolves = letter == 'a' || letter == 'E';
        const int root = chords[3];
        // The key note is at 0 and 7; a half close lands on the last chord instead.
        const int target =
            resolves ? (previous >= 4 ? 7 : 0) : std::clamp(snap(previous, root, 0), kLow, kHigh);
        Motif close;
        parse_rhythm(letter == 'E' ? kLastBar : kCadences[s_.density][rng_.below(2)], 0, close);
        const int direction = target >= previous ? 1 : -1;
        const auto n = static_cast<int>(close.size());
        for (int i = 0; i < n; ++i) {
            int degree = target - direction * std::min(n - 1 - i, 3);
            if (i == 0 && n > 1) degree = snap(degree, root, -direction);
            const MotifNote& m = close[static_cast<size_t>(i)];
            lead(first_bar + 3, m.start, m.length, degree, root, counter, i + 1 == n ? 0.95 : 0.8);
        }
        last_degree_ = target;
    }

    // The chord's notes (with its seventh for some tracks), held for the bar and voiced as
    // close as possible to the last chord so the harmony moves smoothly.
    void pad(int bar, int root) {
        std::vector<int> classes;
        for (int k = 0; k < (s_.sevenths ? 4 : 3); ++k)
            classes.push_back(pitch(0, root + 2 * k) % 12);
        std::vector<int> best;
        int best_cost = 1 << 30;
        for (int low = 50; low < 62; ++low) {
            std::vector<int> voicing;
            for (int c : classes) voicing.push_back(low + floor_mod(c - low, 12));
            std::sort(voicing.begin(), voicing.end());
            int cost = 0;
            if (pad_voicing_.size() == voicing.size()) {
                for (size_t i = 0; i < voicing.size(); ++i)
                    cost += std::abs(voicing[i] - pad_voicing_[i]);
            } else {
                cost = std::abs(low - 55);
            }
            if (cost < best_cost) {
                best_cost = cost;
                best = voicing;
            }
        }
        pad_voicing_ = best;
        for (int midi : best) note(Part::Pad, bar, 0, kSteps, midi, 0.8);
    }

    // Semitones from the chord's root up to the note `steps` scale steps above it.
    int interval(int root, int steps) const { return pitch(0, root + steps) - pitch(0, root); }

    // Roots stay within a fifth either side of the key note, so the bass never wanders.
    int bass_root(int root) const {
        const int midi = pitch(bass_base_, root);
        return midi > bass_base_ + 6 ? midi - 12 : midi;
    }

    void bass(int bar, int root, int next_root, std::string_view pattern) {
        const int low = bass_root(root);
        for (int i = 0; i < kSteps; ++i) {
            const char c = pattern[static_cast<size_t>(i)];
            if (c == '-' || c == '.') continue;
            int length = 1;
            while (i + length < kSteps && pattern[static_cast<size_t>(i + length)] == '-') ++length;
            int midi = low;
            if (c == 'F' || (c == 'A' && next_root == root)) {
                midi = low + interval(root, 4);
                if (midi > bass_base_ + 9) midi -= 12;  // a fifth above a high root goes below
            }
            if (c == 'O') midi = low + 12;
            // A scale step below the next chord's root leads the ear into it.
            if (c == 'A' && next_root != root)
                midi = bass_root(next_root) + interval(next_root, -1);
            const double velocity = (i % 4 == 0 ? 0.95 : 0.8) + 0.05 * rng_.uniform();
            note(Part::Bass, bar, i, length, midi, velocity);
        }
    }

    // Up the chord from its root: root, third, fifth, then the same an octave higher.
    int arp_pitch(int root, int index) const {
        const int folded = root >= 4 ? root - 7 : root;
        return pitch(arp_base_, folded + 2 * (index % 3) + 7 * (index / 3));
    }

    void arpeggio(int bar, int root) {
        const std::string_view pattern = s_.arp;
        for (int i = 0; i < kSteps; ++i) {
            const char c = pattern[static_cast<size_t>(i)];
            if (c < '0' || c > '9') continue;
            int length = 1;
            while (i + length < kSteps && pattern[static_cast<size_t>(i + length)] == '-') ++length;
            const double velocity = (i % 4 == 0 ? 0.9 : 0.7) + 0.1 * rng_.uniform();
            note(Part::Arp, bar, i, length, arp_pitch(root, c - '0'), velocity);
        }
    }

    // The last bar's chord, spread upwards and left to ring.
    void roll(int bar, int root) {
        for (int i = 0; i < 4; ++i) note(Part::Arp, bar, i, kSteps - i, arp_pitch(root, i), 0.8);
    }

    void drum_line(std::string_view line, Drum drum, int bar, int from, int to, double scale) {
        if (line.empty()) return;
        for (int i = from; i < to; ++i) {
            const char c = line[static_cast<size_t>(i)];
            if (c == '.') continue;
            const double velocity = (c == 'x' ? 1.0 : 0.55) * (0.9 + 0.1 * rng_.uniform());
            beat(drum, bar, i, velocity * scale);
        }
    }

    void drums(int bar, bool light, bool fill) {
        const Groove& g = s_.groove;
        if (light) {
            // The intro starts with only the hats (or shaker) and a soft kick on the one.
            drum_line(g.hat, Drum::Hat, bar, 0, kSteps, 0.8);
            drum_line(g.shaker, Drum::Shaker, bar, 0, kSteps, 0.8);
            if (!g.kick.empty()) beat(Drum::Kick, bar, 0, 0.6);
            return;
        }
        const bool do_fill = fill && g.fills && !g.snare.empty();
        const int stop = do_fill ? 12 : kSteps;
        drum_line(g.kick, Drum::Kick, bar, 0, stop, 1.0);
        drum_line(g.snare, Drum::Snare, bar, 0, stop, 0.9);
        drum_line(g.hat, Drum::Hat, bar, 0, kSteps, 1.0);
        drum_line(g.open_hat, Drum::OpenHat, bar, 0, stop, 1.0);
        drum_line(g.shaker, Drum::Shaker, bar, 0, kSteps, 1.0);
        drum_line(g.rim, Drum::Rim, bar, 0, kSteps, 1.0);
        if (!do_fill) return;
        // A run of sixteenths on the snare, growing louder into the next section.
        beat(Drum::Kick, bar, 12, 0.9);
        for (int i = 12; i < kSteps; ++i) beat(Drum::Snare, bar, i, 0.45 + 0.15 * (i - 12));
    }

    const Style& s_;
    Rng rng_;
    Score score_;
    Motif motifs_[2];
    int lead_base_, arp_base_, bass_base_;
    int last_degree_ = 2;
    std::vector<int> pad_voicing_;
};

}  // namespace

Score compose(const Style& style) {
    return Composer(style).run();
}

}  // namespace assetgen::music
