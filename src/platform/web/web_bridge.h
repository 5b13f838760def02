#pragma once
#include <cstddef>
#include <cstdint>

// The browser's side of the web backend, written in library_vasul.js.
extern "C" {
int vasul_web_open();
int vasul_web_take_input(uint32_t* out, int capacity);
int vasul_web_display_lost();
void vasul_web_present(const uint32_t* rgba);
void vasul_web_hide_cursor();
void vasul_web_close();
void vasul_web_ended(int code);
void vasul_web_after_passes(double passes);

int vasul_web_audio_init();
void vasul_web_audio_open(int id, const uint8_t* data, size_t size);
void vasul_web_audio_free(int id);
void vasul_web_audio_play(int channel, int id);
void vasul_web_audio_volume(int channel, int volume);
int vasul_web_audio_playing(int channel);
void vasul_web_audio_stop(int channel);
void vasul_web_audio_close();
}
