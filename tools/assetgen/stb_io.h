#pragma once
// PNG and JPEG reading, PNG writing and picture scaling for the generator, from stb. The
// game's own stb_image is built for BMP only; this copy is private to the generator.
#ifdef __cplusplus
extern "C" {
#endif

// Decodes a PNG or JPEG file into 8-bit RGB; NULL on failure (assetgen_image_error says why).
unsigned char* assetgen_load_rgb(const char* path, int* width, int* height);
const char* assetgen_image_error(void);
void assetgen_free_image(unsigned char* pixels);

// Writes 8-bit RGB pixels as a PNG file; 0 on failure.
int assetgen_write_png(const char* path, int width, int height, const unsigned char* rgb);
// Writes 8-bit RGBA pixels (straight alpha) as a PNG file; 0 on failure.
int assetgen_write_png_rgba(const char* path, int width, int height, const unsigned char* rgba);

// Encodes 8-bit RGBA pixels (straight alpha) as PNG in memory: the file's bytes and their count
// in *size, to be freed with assetgen_free_png; NULL on failure.
unsigned char* assetgen_encode_png_rgba(int width, int height, const unsigned char* rgba,
                                        int* size);
void assetgen_free_png(unsigned char* png);

// Scales 8-bit RGB pixels; 0 on failure.
int assetgen_resize_rgb(const unsigned char* in, int in_w, int in_h, int in_stride,
                        unsigned char* out, int out_w, int out_h);

#ifdef __cplusplus
}
#endif
