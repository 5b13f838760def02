#pragma once
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "assetgen/music_synth.h"

namespace assetgen::music {

// A bar of drums, one character a sixteenth: x hit, o soft hit, . nothing. Empty: not played.
struct Groove {
    std::string_view kick{}, snare{}, hat{}, open_hat{}, shaker{}, rim{};
    bool fills = true;  // a snare run into each new section
    bool crash = true;  // a cymbal on the first beat of each new section
};

// Everything that makes one track sound like itself.
struct Style {
    int bpm = 120;
    int tonic = 60;                // MIDI pitch of the key note, near middle C
    std::array<int, 7> mode{};     // semitones of the seven scale steps above the key note
    std::array<int, 4> verse{};    // chord roots as scale steps, a bar each; starts on the key
    std::array<int, 4> cadence{};  // closes on the key chord
    std::array<int, 4> bridge{};
    bool sevenths = false;  // the pad adds each chord's seventh
    // A phrase of four bars a letter: I intro (the band comes in over the verse chords),
    // A verse, a verse answered by the cadence, B bridge, E the end on the cadence chords,
    // whose last bar holds the key chord and fades out.
    std::string_view form{};
    int density = 1;  // the melody's rhythm: 0 calm, 1 moving, 2 busy
    // A bar of sixteenths: R root, F fifth, O octave, A a step into the next chord's root,
    // - hold, . rest.
    std::string_view bass{};
    // A bar of sixteenths: digits pick the chord's notes counted upwards, - hold, . rest.
    std::string_view arp{};
    Groove groove{};
    double swing = 0;  // how late the off sixteenths fall, in sixteenths
    Patch lead{}, counter{}, pad{}, arp_patch{}, bass_patch{};
    Kit kit{};
    uint64_t seed = 1;
};

// Track 0 is the title music, 1 to 5 the stages, which get faster towards the last. Any other
// number is a mistake in the calling code and throws std::out_of_range.
Style track_style(int track);

enum class Part { Lead, Counter, Pad, Arp, Bass };

struct Note {
    Part part;
    int64_t start;  // frame
    int64_t held;   // frames the note is held before its release
    int midi;
    double velocity;
};

struct Beat {
    Drum drum;
    int64_t start;
    double velocity;
};

struct Score {
    int bars = 0;
    int64_t bar_frames = 0;
    std::vector<Note> notes;
    std::vector<Beat> beats;
    int64_t frames() const { return bars * bar_frames; }
};

Score compose(const Style& style);

// The finished track before encoding: mixed, faded out at the end and normalised.
StereoBuffer render(const Style& style, const Score& score);

}  // namespace assetgen::music
