// Placeholder until the sound layer lands: every call is silent.
#include "sound/sound.h"

#include "app/game.h"

namespace sound {
void sound_init(Game&) {}
int sound_open_stream(Game&, const char*) { return 0; }
void sound_play_channel(Game&, int) {}
void sound_apply_channel(Game&, int) {}
void sound_open_and_apply(Game&, int, const char*) {}
void sound_step_level(Game&, int, int) {}
void sound_stop_all(Game&) {}
void sound_stop_channel(Game&, int) {}
void music_loop_check(Game&) {}
void music_test_play(Game&, const char*) {}
void music_test_step_volume(Game&, int) {}
void music_test_loop_check(Game&) {}
}  // namespace sound
