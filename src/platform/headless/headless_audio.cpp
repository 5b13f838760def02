#include "platform/headless/headless_audio.h"

#include <iterator>

#include "platform/sound_streams.h"

namespace platform {

namespace {

// Drops the entries of streams older than first_kept that keep() does not claim.
template <typename Map, typename Keep>
void erase_older(Map& map, int first_kept, Keep keep) {
    for (auto it = map.begin(); it != map.end() && it->first < first_kept;) {
        it = keep(it->first) ? std::next(it) : map.erase(it);
    }
}

}  // namespace

void HeadlessAudio::note(std::string call) {
    // Dropping the older half at once keeps the cost per call constant.
    if (log_.size() >= 2 * kLogKept) {
        log_.erase(log_.begin(), log_.end() - static_cast<std::ptrdiff_t>(kLogKept));
    }
    log_.push_back(std::move(call));
}

void HeadlessAudio::forget_old_streams() {
    // The game asks only about the streams it opened last and those its channels play.
    const int first_kept = next_stream_ - static_cast<int>(kStreamsKept);
    auto held = [this](int stream) { return on_a_channel(stream); };
    erase_older(sizes_, first_kept, held);
    erase_older(lengths_, first_kept, held);
}

bool HeadlessAudio::on_a_channel(int stream) const {
    for (const auto& [number, state] : channels_) {
        if (state.stream == stream) return true;
    }
    return false;
}

bool HeadlessAudio::init() {
    note("init");
    if (missing_) return false;
    initialised_ = true;
    return true;
}

int HeadlessAudio::open_stream(SoundBytes bytes) {
    const size_t size = bytes ? bytes->size() : 0;
    note("open " + std::to_string(size));
    // Nothing is decoded here, but what the mixer would refuse at once is refused: a file that
    // is neither an Ogg stream nor a RIFF wave.
    if (!active() || !bytes || sound_kind(*bytes) == SoundKind::Unknown) return 0;
    const int id = next_stream_++;
    sizes_[id] = size;
    if (!lengths_.count(id)) lengths_[id] = default_length_;
    forget_old_streams();
    return id;
}

void HeadlessAudio::play(int channel, int stream) {
    note("play " + std::to_string(channel) + " " + std::to_string(stream));
    if (!active() || stream == 0) return;
    ChannelState& c = channels_[channel];
    c.stream = stream;
    c.started = clock_();
}

void HeadlessAudio::set_volume(int channel, int volume) {
    note("volume " + std::to_string(channel) + " " + std::to_string(volume));
    if (!active()) return;
    channels_[channel].volume = volume;
}

bool HeadlessAudio::is_playing(int channel) {
    if (!active()) return false;
    auto it = channels_.find(channel);
    if (it == channels_.end() || it->second.stream == 0) return false;
    const auto length_of = lengths_.find(it->second.stream);
    const uint32_t length = length_of == lengths_.end() ? default_length_ : length_of->second;
    if (clock_() - it->second.started >= length) {
        it->second.stream = 0;
        return false;
    }
    return true;
}

void HeadlessAudio::stop(int channel) {
    note("stop " + std::to_string(channel));
    if (!active()) return;
    for (auto& [number, state] : channels_) {
        if (channel == kAllChannels || number == channel) state.stream = 0;
    }
}

void HeadlessAudio::close() {
    note("close");
    closed_ = true;
    channels_.clear();
}

int HeadlessAudio::volume(int channel) const {
    auto it = channels_.find(channel);
    return it == channels_.end() ? 255 : it->second.volume;
}

int HeadlessAudio::playing_stream(int channel) const {
    auto it = channels_.find(channel);
    return it == channels_.end() ? 0 : it->second.stream;
}

size_t HeadlessAudio::stream_size(int stream) const {
    auto it = sizes_.find(stream);
    return it == sizes_.end() ? 0 : it->second;
}

}  // namespace platform
