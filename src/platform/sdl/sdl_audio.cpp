#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

#include <algorithm>

namespace platform::sdl {

namespace {

constexpr int kRate = 44100;
constexpr int kChunkFrames = 1024;  // about 23 ms, short enough for the snap effect

SDL_RWops* reader(const std::vector<uint8_t>& bytes) {
    return SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
}

}  // namespace

bool SdlAudio::init() {
    if (closed_) return false;
    if (open_) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_OGG);
    if (Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, 2, kChunkFrames) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    open_ = true;
    return true;
}

int SdlAudio::open_stream(SoundBytes bytes) {
    if (!active() || !bytes || bytes->empty() || bytes->size() > static_cast<size_t>(INT32_MAX)) {
        return 0;
    }
    Stream s;
    const SoundKind kind = sound_kind(*bytes);
    if (kind == SoundKind::Music) {
        s.music = Mix_LoadMUS_RW(reader(*bytes), 1);
        s.bytes = std::move(bytes);
    } else if (kind == SoundKind::Effect) {
        // A chunk is decoded whole here, so the file's bytes are not needed afterwards.
        s.chunk = Mix_LoadWAV_RW(reader(*bytes), 1);
    }
    if (!s.music && !s.chunk) return 0;  // a file the mixer can't decode is the null stream

    const int id = ids_.open(kind);
    streams_.emplace(id, std::move(s));
    forget_unused();
    return id;
}

void SdlAudio::play(int channel, int stream) {
    if (!active() || (channel != 0 && channel != 1)) return;
    auto it = streams_.find(stream);
    if (it == streams_.end()) return;
    if (channel == 0 && it->second.music) {
        Mix_PlayMusic(it->second.music, 0);
    } else if (channel == 1 && it->second.chunk) {
        Mix_PlayChannel(1, it->second.chunk, 0);
    } else {
        return;
    }
    ids_.played(channel, stream);
    forget_unused();
}

void SdlAudio::set_volume(int channel, int volume) {
    if (!active()) return;
    // The game's 0..255 onto the mixer's 0..128, rounded so that full stays full.
    const int mixed = (std::clamp(volume, 0, 255) * MIX_MAX_VOLUME + 127) / 255;
    if (channel == 0) {
        Mix_VolumeMusic(mixed);
    } else if (channel == 1) {
        Mix_Volume(1, mixed);
    }
}

bool SdlAudio::is_playing(int channel) {
    if (!active()) return false;
    if (channel == 0) return Mix_PlayingMusic() != 0;
    if (channel == 1) return Mix_Playing(1) != 0;
    return false;
}

void SdlAudio::stop(int channel) {
    if (!active()) return;
    if (channel == 0 || channel == kAllChannels) Mix_HaltMusic();
    if (channel == 1 || channel == kAllChannels) Mix_HaltChannel(1);
}

void SdlAudio::close() {
    if (closed_) return;
    closed_ = true;
    if (!open_) return;
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    for (auto& [id, s] : streams_) free_stream(s);
    streams_.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
}

void SdlAudio::forget_unused() {
    for (auto it = streams_.begin(); it != streams_.end();) {
        if (ids_.needed(it->first)) {
            ++it;
        } else {
            free_stream(it->second);
            it = streams_.erase(it);
        }
    }
}

void SdlAudio::free_stream(Stream& s) {
    if (s.music) Mix_FreeMusic(s.music);
    if (s.chunk) Mix_FreeChunk(s.chunk);
    s.music = nullptr;
    s.chunk = nullptr;
}

}  // namespace platform::sdl
