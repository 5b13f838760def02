/* stb_vorbis for the Windows backend's music. Alone in its file: it defines macros named L, C
   and R that would break windows.h. It decodes from memory only. */
#define STB_VORBIS_NO_STDIO
#include <stb_vorbis.h>
