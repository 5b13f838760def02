#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace platform {

// What a sound file is by its first bytes: music is an Ogg stream, an effect a RIFF wave.
enum class SoundKind { Unknown, Music, Effect };
SoundKind sound_kind(const std::vector<uint8_t>& bytes);

// The stream numbers of a device with the game's two channels, and which of its streams it
// must still hold: the newest of each kind, which the game may yet start, and what each
// channel last played. Any other stream can be freed.
class StreamIds {
  public:
    // A new stream of kind Music or Effect, now the newest of its kind.
    int open(SoundKind kind);
    // Channel 0 or 1 started the stream.
    void played(int channel, int stream);
    bool needed(int stream) const;

  private:
    int next_ = 1;
    int newest_music_ = 0;
    int newest_effect_ = 0;
    std::array<int, 2> last_played_{};
};

}  // namespace platform
