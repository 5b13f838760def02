#pragma once
// windows.h goes first: the headers after it build on it.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
// clang-format on

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/platform.h"

struct stb_vorbis;

namespace platform::win32 {

// Channel 0: one Ogg track at a time, decoded by stb_vorbis into a looping DirectSound ring
// that a thread of its own keeps filled. The track plays once; the channel counts as playing
// until its last sample has been heard.
class MusicStream {
  public:
    explicit MusicStream(IDirectSound8* device);
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;
    ~MusicStream();

    bool ok() const { return buffer_ != nullptr; }
    // Starts the track from its beginning, replacing what played; false when it can't decode.
    bool start(SoundBytes ogg);
    void stop();
    bool playing();
    void set_volume(LONG hundredths_db);

  private:
    void feed();
    void top_up();
    void fill(DWORD bytes);
    DWORD decode(uint8_t* to, DWORD bytes);
    void finish();

    IDirectSoundBuffer* buffer_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread feeder_;
    bool quit_ = false;
    // What the ring holds, under mutex_.
    SoundBytes ogg_;
    stb_vorbis* decoder_ = nullptr;
    bool playing_ = false;
    DWORD write_at_ = 0;               // where in the ring the next decoded bytes go
    DWORD last_cursor_ = 0;            // the play cursor at the last look
    uint64_t written_ = 0;             // bytes put into the ring since the start
    uint64_t played_ = 0;              // bytes the play cursor has passed since the start
    uint64_t track_end_ = UINT64_MAX;  // written_ at the track's last sample, once known
};

}  // namespace platform::win32
