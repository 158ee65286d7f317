#ifndef VUSK_BUILTIN_IMAGE_DATA_H
#define VUSK_BUILTIN_IMAGE_DATA_H

// The PNG files of the built-in images, compiled in by the build from
// assets/ (one array and its length in bytes per file).

#include <cstddef>

extern const unsigned char varn_ossic_text_transparent_white_png[];
extern const size_t varn_ossic_text_transparent_white_png_size;
extern const unsigned char lock_png[];
extern const size_t lock_png_size;
extern const unsigned char unwield_png[];
extern const size_t unwield_png_size;
extern const unsigned char sleep_png[];
extern const size_t sleep_png_size;
extern const unsigned char burn2_png[];
extern const size_t burn2_png_size;
extern const unsigned char shock2_png[];
extern const size_t shock2_png_size;
extern const unsigned char sicken2_png[];
extern const size_t sicken2_png_size;

#endif
