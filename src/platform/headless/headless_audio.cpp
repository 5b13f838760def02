#include "platform/headless/headless_audio.h"

#include <cstring>

namespace platform {

namespace {

// The headless device decodes nothing, but it refuses what the mixer would refuse at once: a
// file that is neither an Ogg stream nor a RIFF wave.
bool decodable(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 4 &&
           (std::memcmp(bytes.data(), "OggS", 4) == 0 || std::memcmp(bytes.data(), "RIFF", 4) == 0);
}

}  // namespace

bool HeadlessAudio::init() {
    log_.push_back("init");
    if (missing_) return false;
    initialised_ = true;
    return true;
}

int HeadlessAudio::open_stream(SoundBytes bytes) {
    const size_t size = bytes ? bytes->size() : 0;
    log_.push_back("open " + std::to_string(size));
    if (!active() || !bytes || !decodable(*bytes)) return 0;
    const int id = next_stream_++;
    sizes_[id] = size;
    if (!lengths_.count(id)) lengths_[id] = default_length_;
    return id;
}

void HeadlessAudio::play(int channel, int stream) {
    log_.push_back("play " + std::to_string(channel) + " " + std::to_string(stream));
    if (!active() || stream == 0) return;
    ChannelState& c = channels_[channel];
    c.stream = stream;
    c.started = clock_();
}

void HeadlessAudio::set_volume(int channel, int volume) {
    log_.push_back("volume " + std::to_string(channel) + " " + std::to_string(volume));
    if (!active()) return;
    channels_[channel].volume = volume;
}

bool HeadlessAudio::is_playing(int channel) {
    if (!active()) return false;
    auto it = channels_.find(channel);
    if (it == channels_.end() || it->second.stream == 0) return false;
    const uint32_t length = lengths_[it->second.stream];
    if (clock_() - it->second.started >= length) {
        it->second.stream = 0;
        return false;
    }
    return true;
}

void HeadlessAudio::stop(int channel) {
    log_.push_back("stop " + std::to_string(channel));
    if (!active()) return;
    for (auto& [number, state] : channels_) {
        if (channel == kAllChannels || number == channel) state.stream = 0;
    }
}

void HeadlessAudio::close() {
    log_.push_back("close");
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
