#include "platform/web/web_audio.h"

#include <algorithm>

#include "platform/web/web_bridge.h"

namespace platform::web {

namespace {

bool is_channel(int channel) {
    return channel == 0 || channel == 1;
}

}  // namespace

bool WebAudio::init() {
    if (closed_) return false;
    open_ = open_ || vasul_web_audio_init() != 0;
    return open_;
}

int WebAudio::open_stream(SoundBytes bytes) {
    if (!active() || !bytes || bytes->empty()) return 0;
    const SoundKind kind = sound_kind(*bytes);
    if (kind == SoundKind::Unknown) return 0;
    const int id = ids_.open(kind);
    streams_.emplace(id, kind);
    vasul_web_audio_open(id, bytes->data(), bytes->size());
    forget_unused();
    return id;
}

void WebAudio::play(int channel, int stream) {
    if (!active() || !is_channel(channel)) return;
    const auto it = streams_.find(stream);
    // Music plays on channel 0 and the effect on channel 1, as the mixer would have it.
    if (it == streams_.end() || (it->second == SoundKind::Music) != (channel == 0)) return;
    vasul_web_audio_play(channel, stream);
    ids_.played(channel, stream);
    forget_unused();
}

void WebAudio::set_volume(int channel, int volume) {
    if (active() && is_channel(channel))
        vasul_web_audio_volume(channel, std::clamp(volume, 0, 255));
}

bool WebAudio::is_playing(int channel) {
    return active() && is_channel(channel) && vasul_web_audio_playing(channel) != 0;
}

void WebAudio::stop(int channel) {
    if (!active()) return;
    if (channel == 0 || channel == kAllChannels) vasul_web_audio_stop(0);
    if (channel == 1 || channel == kAllChannels) vasul_web_audio_stop(1);
}

void WebAudio::close() {
    if (closed_) return;
    closed_ = true;
    if (open_) vasul_web_audio_close();
    streams_.clear();
    open_ = false;
}

void WebAudio::forget_unused() {
    for (auto it = streams_.begin(); it != streams_.end();) {
        if (ids_.needed(it->first)) {
            ++it;
        } else {
            vasul_web_audio_free(it->first);
            it = streams_.erase(it);
        }
    }
}

}  // namespace platform::web
