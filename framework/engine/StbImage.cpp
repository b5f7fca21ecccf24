// The one translation unit that compiles the stb_image decoder. Only decoding
// from memory is used; the file-reading entry points are left out.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
// Skins use these formats alone; every other decoder is attack surface
// (the HDR and 16-bit PNM paths mishandle hostile and even valid files).
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_FAILURE_USERMSG
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#endif
#include "stb_image.h"
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
