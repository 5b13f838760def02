/* The player's pictures through stb_image and stb_image_resize (third_party/stb_pictures.c):
   PNG, JPEG, GIF and BMP only, every stb symbol private to that file. Plain C, so that the
   implementation compiles as stb is written. */
#ifndef VASUL_PICTURES_STB_CODEC_H
#define VASUL_PICTURES_STB_CODEC_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The picture's size from its header, without decoding it; 0 when stb does not know the file. */
int vasul_picture_info(const unsigned char* bytes, size_t size, int* width, int* height);

/* Decodes the picture (the first frame of a GIF) with its own channel count: 1 grey, 2 grey and
   alpha, 3 RGB, 4 RGBA, eight bits each. The decoder's memory held at any one time may not
   exceed budget bytes: an allocation beyond it fails, and *over_budget says so. NULL on
   failure, with vasul_picture_failure() telling why. */
unsigned char* vasul_picture_load(const unsigned char* bytes, size_t size, size_t budget,
                                  int* width, int* height, int* channels, int* over_budget);
void vasul_picture_free(unsigned char* pixels);
/* stb's reason for the last failure on this thread. */
const char* vasul_picture_failure(void);

/* Resamples a picture of four 8-bit sRGB channels to out_w x out_h, filtering in linear light
   (Catmull-Rom up, Mitchell down; edges clamped). 0 when there was no memory for it. */
int vasul_picture_resize(const unsigned char* in, int in_w, int in_h, int in_stride,
                         unsigned char* out, int out_w, int out_h, int out_stride);

#ifdef __cplusplus
}
#endif

#endif
