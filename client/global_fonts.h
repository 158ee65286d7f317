#ifndef VUSK_GLOBAL_FONTS_H
#define VUSK_GLOBAL_FONTS_H

// The shared fonts every panel draws its text with. Start-up creates them
// (before the configuration loads); the configuration rebuilds them from the
// current record. Null until created.

class vusk_font;

extern int global_font_size;
extern vusk_font *global_font;
extern vusk_font *global_button_small_font;
extern vusk_font *global_button_large_font;

#endif
