#include "global_fonts.h"

vusk_font *global_font = nullptr;
