#include "platform/win32/music_stream.h"

#include <cstring>

#define STB_VORBIS_HEADER_ONLY
#define STB_VORBIS_NO_STDIO
#include <stb_vorbis.h>

namespace platform::win32 {

namespace {

constexpr DWORD kRate = 44100;
constexpr WORD kChannels = 2;
constexpr DWORD kFrameBytes = kChannels * sizeof(int16_t);
// One second of sound ahead: far more than any stall of the feeding thread.
constexpr DWORD kRingBytes = kRate * kFrameBytes;
constexpr auto kFeedEvery = std::chrono::milliseconds(10);

WAVEFORMATEX pcm_format() {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = kChannels;
    f.nSamplesPerSec = kRate;
    f.wBitsPerSample = 16;
    f.nBlockAlign = static_cast<WORD>(kFrameBytes);
    f.nAvgBytesPerSec = kRate * kFrameBytes;
    return f;
}

}  // namespace

MusicStream::MusicStream(IDirectSound8* device) {
    WAVEFORMATEX format = pcm_format();
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    // Global focus: the music goes on while another window has the keyboard.
    desc.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY | DSBCAPS_GETCURRENTPOSITION2 |
                   DSBCAPS_GLOBALFOCUS;
    desc.dwBufferBytes = kRingBytes;
    desc.lpwfxFormat = &format;
    if (FAILED(device->CreateSoundBuffer(&desc, &buffer_, nullptr))) buffer_ = nullptr;
    if (buffer_) feeder_ = std::thread([this] { feed(); });
}

MusicStream::~MusicStream() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (feeder_.joinable()) feeder_.join();
    if (buffer_) {
        buffer_->Stop();
        buffer_->Release();
    }
    finish();
}

bool MusicStream::start(SoundBytes ogg) {
    std::lock_guard lock(mutex_);
    buffer_->Stop();
    finish();
    int error = 0;
    decoder_ = stb_vorbis_open_memory(ogg->data(), static_cast<int>(ogg->size()), &error, nullptr);
    if (!decoder_) return false;
    ogg_ = std::move(ogg);
    buffer_->SetFrequency(stb_vorbis_get_info(decoder_).sample_rate);
    buffer_->SetCurrentPosition(0);
    write_at_ = last_cursor_ = 0;
    written_ = played_ = 0;
    track_end_ = UINT64_MAX;
    fill(kRingBytes);
    playing_ = SUCCEEDED(buffer_->Play(0, 0, DSBPLAY_LOOPING));
    return playing_;
}

void MusicStream::stop() {
    std::lock_guard lock(mutex_);
    buffer_->Stop();
    finish();
}

bool MusicStream::playing() {
    std::lock_guard lock(mutex_);
    return playing_;
}

void MusicStream::set_volume(LONG hundredths_db) {
    buffer_->SetVolume(hundredths_db);
}

void MusicStream::feed() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        wake_.wait_for(lock, kFeedEvery);
        if (playing_) top_up();
    }
}

void MusicStream::top_up() {
    DWORD cursor = 0;
    if (FAILED(buffer_->GetCurrentPosition(&cursor, nullptr))) return;
    played_ += (cursor + kRingBytes - last_cursor_) % kRingBytes;
    last_cursor_ = cursor;
    if (played_ >= track_end_) {
        buffer_->Stop();
        finish();
        return;
    }
    // Behind the play cursor everything has been heard and can be written again.
    const uint64_t ahead = written_ > played_ ? written_ - played_ : 0;
    const DWORD room = static_cast<DWORD>(kRingBytes - std::min<uint64_t>(ahead, kRingBytes));
    const DWORD whole = room - room % kFrameBytes;
    if (whole > 0) fill(whole);
}

void MusicStream::fill(DWORD bytes) {
    void* first = nullptr;
    void* second = nullptr;
    DWORD first_size = 0;
    DWORD second_size = 0;
    if (FAILED(buffer_->Lock(write_at_, bytes, &first, &first_size, &second, &second_size, 0))) {
        return;
    }
    decode(static_cast<uint8_t*>(first), first_size);
    if (second) decode(static_cast<uint8_t*>(second), second_size);
    buffer_->Unlock(first, first_size, second, second_size);
    write_at_ = (write_at_ + first_size + second_size) % kRingBytes;
}

// Decoded sound while the track lasts, then silence; notes where the track ended.
DWORD MusicStream::decode(uint8_t* to, DWORD bytes) {
    DWORD done = 0;
    while (decoder_ && done < bytes) {
        const int frames = stb_vorbis_get_samples_short_interleaved(
            decoder_, kChannels, reinterpret_cast<short*>(to + done),
            static_cast<int>((bytes - done) / sizeof(int16_t)));
        if (frames <= 0) {
            track_end_ = written_ + done;
            stb_vorbis_close(decoder_);
            decoder_ = nullptr;
            break;
        }
        done += static_cast<DWORD>(frames) * kFrameBytes;
    }
    std::memset(to + done, 0, bytes - done);
    written_ += bytes;
    return done;
}

void MusicStream::finish() {
    if (decoder_) stb_vorbis_close(decoder_);
    decoder_ = nullptr;
    ogg_.reset();
    playing_ = false;
}

}  // namespace platform::win32
