#ifndef VUSK_BUILTIN_IMAGES_H
#define VUSK_BUILTIN_IMAGES_H

// The images the program carries inside itself, decoded once at start-up.

#include <cstddef>

class vusk_bitmap;

constexpr int logo_width = 192;
constexpr int logo_height = 43;
constexpr int lock_icon_size = 21;
constexpr int status_icon_size = 17;

// Status icons in the order the status bar numbers them.
enum { icon_unwielded, icon_asleep, icon_burning, icon_shocked, icon_sickened, status_icon_count };

extern vusk_bitmap *varn_ossic_logo_bitmap;
extern vusk_bitmap *lock_bitmap;
extern vusk_bitmap *icon_bitmaps[status_icon_count];

// Decodes every built-in image into its global. Needs the toolkit's PNG
// handler. An image that does not decode becomes a fully transparent bitmap
// of its intended size, so the globals are never null afterwards.
void construct_all_images();

// Decodes one PNG held in memory into a new 32-bit bitmap with alpha, or
// into a fully transparent width x height bitmap when it does not decode.
vusk_bitmap *decode_png_bitmap(const unsigned char *bytes, size_t size, int width, int height);

#endif
