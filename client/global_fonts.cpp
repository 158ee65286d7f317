#include "global_fonts.h"

#include "tqconfig.h"

int global_font_size = default_font_size;
vusk_font *global_font = nullptr;
vusk_font *global_button_small_font = nullptr;
vusk_font *global_button_large_font = nullptr;
