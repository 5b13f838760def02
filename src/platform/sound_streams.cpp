#include "platform/sound_streams.h"

#include <cstring>

namespace platform {

SoundKind sound_kind(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 4) return SoundKind::Unknown;
    if (std::memcmp(bytes.data(), "OggS", 4) == 0) return SoundKind::Music;
    if (std::memcmp(bytes.data(), "RIFF", 4) == 0) return SoundKind::Effect;
    return SoundKind::Unknown;
}

int StreamIds::open(SoundKind kind) {
    const int id = next_++;
    (kind == SoundKind::Music ? newest_music_ : newest_effect_) = id;
    return id;
}

void StreamIds::played(int channel, int stream) {
    last_played_[static_cast<size_t>(channel)] = stream;
}

bool StreamIds::needed(int stream) const {
    return stream == newest_music_ || stream == newest_effect_ || stream == last_played_[0] ||
           stream == last_played_[1];
}

}  // namespace platform
