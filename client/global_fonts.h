#ifndef VUSK_GLOBAL_FONTS_H
#define VUSK_GLOBAL_FONTS_H

class vusk_font;

// The shared text font, made at start-up and rebuilt by the configuration;
// null until then.
extern vusk_font *global_font;

#endif
