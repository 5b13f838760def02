/* A private, static copy of stb_image (every format), stb_image_write and stb_image_resize:
   static so that none of its symbols clash with the game's BMP-only stb_image. */
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

#include "stb_io.h"

unsigned char* assetgen_load_rgb(const char* path, int* width, int* height) {
    int channels = 0;
    return stbi_load(path, width, height, &channels, 3);
}

const char* assetgen_image_error(void) {
    const char* why = stbi_failure_reason();
    return why ? why : "unknown error";
}

void assetgen_free_image(unsigned char* pixels) {
    stbi_image_free(pixels);
}

int assetgen_write_png(const char* path, int width, int height, const unsigned char* rgb) {
    return stbi_write_png(path, width, height, 3, rgb, width * 3);
}

int assetgen_write_png_rgba(const char* path, int width, int height, const unsigned char* rgba) {
    return stbi_write_png(path, width, height, 4, rgba, width * 4);
}

unsigned char* assetgen_encode_png_rgba(int width, int height, const unsigned char* rgba,
                                        int* size) {
    return stbi_write_png_to_mem(rgba, width * 4, width, height, 4, size);
}

void assetgen_free_png(unsigned char* png) {
    STBIW_FREE(png);
}

int assetgen_resize_rgb(const unsigned char* in, int in_w, int in_h, int in_stride,
                        unsigned char* out, int out_w, int out_h) {
    return stbir_resize_uint8(in, in_w, in_h, in_stride, out, out_w, out_h, out_w * 3, 3);
}
