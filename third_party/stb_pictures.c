/* stb_image and stb_image_resize for the player's own pictures: PNG, JPEG, GIF (the first
   frame) and BMP from memory, nothing else. Every stb symbol is static, so this copy lives
   beside the benchmark's BMP-only stb_image and the generator's own. The decoder allocates
   from a budget that the caller sets from the picture's header, so a file whose data would
   unpack to more than its size allows (a zlib bomb behind a small PNG header) fails instead
   of taking the machine's memory. */
#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "pictures/stb_codec.h"

typedef struct {
    size_t live;  /* bytes the decoder holds now */
    size_t limit; /* bytes it may hold at once */
    int refused;  /* an allocation went over the limit */
} Budget;

static _Thread_local Budget budget;

/* Each block carries its size in front of it, so that freeing gives it back to the budget. */
#define BLOCK_HEADER 16

static size_t block_size(void* p) {
    size_t n;
    memcpy(&n, (unsigned char*)p - BLOCK_HEADER, sizeof n);
    return n;
}

static int fits_budget(size_t more) {
    if (budget.live > budget.limit || more > budget.limit - budget.live) {
        budget.refused = 1;
        return 0;
    }
    return 1;
}

/* Zeroed: a JPEG scan may use a Huffman table the file never defined, which stb then reads as
   it finds it; a zeroed table decodes nothing and reads inside itself. */
static void* budget_malloc(size_t n) {
    if (!fits_budget(n)) return NULL;
    unsigned char* block = (unsigned char*)calloc(1, n + BLOCK_HEADER);
    if (!block) return NULL;
    memcpy(block, &n, sizeof n);
    budget.live += n;
    return block + BLOCK_HEADER;
}

static void budget_free(void* p) {
    if (!p) return;
    const size_t n = block_size(p);
    /* The picture handed back may be freed after another decode has started its budget. */
    budget.live = budget.live > n ? budget.live - n : 0;
    free((unsigned char*)p - BLOCK_HEADER);
}

static void* budget_realloc(void* p, size_t n) {
    if (!p) return budget_malloc(n);
    const size_t old = block_size(p);
    if (n > old && !fits_budget(n - old)) return NULL;
    unsigned char* block =
        (unsigned char*)realloc((unsigned char*)p - BLOCK_HEADER, n + BLOCK_HEADER);
    if (!block) return NULL;
    memcpy(block, &n, sizeof n);
    budget.live = budget.live - old + n;
    return block + BLOCK_HEADER;
}

#define STBI_MALLOC(sz) budget_malloc(sz)
#define STBI_REALLOC(p, newsz) budget_realloc(p, newsz)
#define STBI_FREE(p) budget_free(p)
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>

#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

/* Enough for what reading a header allocates (a JPEG's or a GIF's decoder state). */
#define HEADER_BUDGET (1u << 20)

static void start_budget(size_t limit) {
    budget.live = 0;
    budget.limit = limit;
    budget.refused = 0;
}

int vasul_picture_info(const unsigned char* bytes, size_t size, int* width, int* height) {
    int channels = 0;
    if (size > INT_MAX) return 0;
    start_budget(HEADER_BUDGET);
    return stbi_info_from_memory(bytes, (int)size, width, height, &channels);
}

unsigned char* vasul_picture_load(const unsigned char* bytes, size_t size, size_t limit, int* width,
                                  int* height, int* channels, int* over_budget) {
    unsigned char* pixels = NULL;
    *over_budget = 0;
    if (size > INT_MAX) return NULL;
    start_budget(limit);
    pixels = stbi_load_from_memory(bytes, (int)size, width, height, channels, 0);
    *over_budget = budget.refused;
    return pixels;
}

void vasul_picture_free(unsigned char* pixels) {
    stbi_image_free(pixels);
}

const char* vasul_picture_failure(void) {
    const char* why = stbi_failure_reason();
    return why ? why : "unknown error";
}

int vasul_picture_resize(const unsigned char* in, int in_w, int in_h, int in_stride,
                         unsigned char* out, int out_w, int out_h, int out_stride) {
    return stbir_resize_uint8_srgb_edgemode(in, in_w, in_h, in_stride, out, out_w, out_h,
                                            out_stride, 4, STBIR_ALPHA_CHANNEL_NONE, 0,
                                            STBIR_EDGE_CLAMP);
}
