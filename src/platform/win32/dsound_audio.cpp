#include "platform/win32/dsound_audio.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/win32/music_stream.h"

namespace platform::win32 {

namespace {

uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

bool read_format(const uint8_t* p, uint32_t size, WAVEFORMATEX& f) {
    if (size < 16) return false;
    f.wFormatTag = le16(p);
    f.nChannels = le16(p + 2);
    f.nSamplesPerSec = le32(p + 4);
    f.wBitsPerSample = le16(p + 14);
    const bool bits_ok = f.wBitsPerSample == 8 || f.wBitsPerSample == 16;
    if (f.wFormatTag != WAVE_FORMAT_PCM || f.nChannels == 0 || f.nChannels > 2 || !bits_ok ||
        f.nSamplesPerSec < DSBFREQUENCY_MIN || f.nSamplesPerSec > DSBFREQUENCY_MAX) {
        return false;
    }
    f.nBlockAlign = static_cast<WORD>(f.nChannels * f.wBitsPerSample / 8);
    f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    return true;
}

}  // namespace

std::unique_ptr<Wave> parse_wave(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 12 || sound_kind(bytes) != SoundKind::Effect ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return nullptr;
    }
    auto wave = std::make_unique<Wave>();
    bool have_format = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint8_t* chunk = bytes.data() + at;
        const uint32_t size = le32(chunk + 4);
        const size_t body = at + 8;
        const size_t size_here = std::min<size_t>(size, bytes.size() - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            have_format = read_format(chunk + 8, static_cast<uint32_t>(size_here), wave->format);
            if (!have_format) return nullptr;
        } else if (std::memcmp(chunk, "data", 4) == 0 && have_format) {
            const size_t whole = size_here - size_here % wave->format.nBlockAlign;
            wave->samples.assign(bytes.begin() + static_cast<ptrdiff_t>(body),
                                 bytes.begin() + static_cast<ptrdiff_t>(body + whole));
            return wave->samples.empty() ? nullptr : std::move(wave);
        }
        at = body + size + (size & 1);  // chunks are padded to even lengths
    }
    return nullptr;
}

LONG attenuation(int volume) {
    const int v = std::clamp(volume, 0, 255);
    if (v == 0) return DSBVOLUME_MIN;
    // The game's scale is linear in amplitude; DirectSound's is in hundredths of a decibel.
    const double db100 = 2000.0 * std::log10(v / 255.0);
    return std::max<LONG>(DSBVOLUME_MIN, static_cast<LONG>(std::lround(db100)));
}

bool DsoundAudio::init() {
    if (closed_) return false;
    if (device_) return true;
    if (FAILED(DirectSoundCreate8(nullptr, &device_, nullptr))) {
        device_ = nullptr;
        return false;
    }
    device_->SetCooperativeLevel(window_, DSSCL_PRIORITY);
    music_ = std::make_unique<MusicStream>(device_);
    if (!music_->ok()) {
        music_.reset();
        device_->Release();
        device_ = nullptr;
        return false;
    }
    return true;
}

int DsoundAudio::open_stream(SoundBytes bytes) {
    if (!active() || !bytes || bytes->empty() || bytes->size() > static_cast<size_t>(INT32_MAX)) {
        return 0;
    }
    Stream s;
    const SoundKind kind = sound_kind(*bytes);
    if (kind == SoundKind::Music) {
        s.ogg = std::move(bytes);
    } else if (auto wave = parse_wave(*bytes)) {
        s.wave = std::move(wave);
    } else {
        return 0;  // the null stream
    }
    const int id = ids_.open(kind);
    streams_.emplace(id, std::move(s));
    forget_unused();
    return id;
}

void DsoundAudio::play(int channel, int stream) {
    if (!active() || (channel != 0 && channel != 1)) return;
    auto it = streams_.find(stream);
    if (it == streams_.end()) return;
    if (channel == 0 && it->second.ogg) {
        if (!music_->start(it->second.ogg)) return;
        music_->set_volume(volume_[0]);
    } else if (channel == 1 && it->second.wave) {
        play_effect(*it->second.wave);
    } else {
        return;
    }
    ids_.played(channel, stream);
    forget_unused();
}

void DsoundAudio::play_effect(const Wave& wave) {
    stop_effect();
    WAVEFORMATEX format = wave.format;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS | DSBCAPS_STATIC;
    desc.dwBufferBytes = static_cast<DWORD>(wave.samples.size());
    desc.lpwfxFormat = &format;
    if (FAILED(device_->CreateSoundBuffer(&desc, &effect_, nullptr))) {
        effect_ = nullptr;
        return;
    }
    void* to = nullptr;
    DWORD size = 0;
    if (SUCCEEDED(effect_->Lock(0, desc.dwBufferBytes, &to, &size, nullptr, nullptr, 0))) {
        std::memcpy(to, wave.samples.data(), size);
        effect_->Unlock(to, size, nullptr, 0);
    }
    effect_->SetVolume(volume_[1]);
    effect_->Play(0, 0, 0);
}

void DsoundAudio::stop_effect() {
    if (!effect_) return;
    effect_->Stop();
    effect_->Release();
    effect_ = nullptr;
}

void DsoundAudio::set_volume(int channel, int volume) {
    if (!active() || (channel != 0 && channel != 1)) return;
    volume_[static_cast<size_t>(channel)] = attenuation(volume);
    if (channel == 0) music_->set_volume(volume_[0]);
    if (channel == 1 && effect_) effect_->SetVolume(volume_[1]);
}

bool DsoundAudio::is_playing(int channel) {
    if (!active()) return false;
    if (channel == 0) return music_->playing();
    DWORD status = 0;
    return channel == 1 && effect_ && SUCCEEDED(effect_->GetStatus(&status)) &&
           (status & DSBSTATUS_PLAYING);
}

void DsoundAudio::stop(int channel) {
    if (!active()) return;
    if (channel == 0 || channel == kAllChannels) music_->stop();
    if (channel == 1 || channel == kAllChannels) stop_effect();
}

void DsoundAudio::close() {
    if (closed_) return;
    closed_ = true;
    stop_effect();
    music_.reset();
    streams_.clear();
    if (device_) device_->Release();
    device_ = nullptr;
}

void DsoundAudio::forget_unused() {
    std::erase_if(streams_, [&](const auto& entry) { return !ids_.needed(entry.first); });
}

}  // namespace platform::win32
