#pragma once
#include <cstdint>
#include <vector>

namespace assetgen {

inline constexpr int kTrackCount = 6;

// Track 0 is the title music, 1 to 5 the stage music. Each is a whole Ogg Vorbis file,
// composed and encoded from code, the same bytes on every run. Nothing it reads can make it
// fail; a track outside 0 to 5 throws std::out_of_range (see music::track_style).
std::vector<uint8_t> compose_track_ogg(int track);

// The snap sound played when a piece lands home: a whole 16-bit PCM WAV file.
std::vector<uint8_t> make_snap_wav();

}  // namespace assetgen
