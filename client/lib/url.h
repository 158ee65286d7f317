#ifndef VUSK_URL_H
#define VUSK_URL_H

// Finds a web address around a clicked position of a line of text. The rules
// are purely textual and leave ordinary prose alone.

#include "util.h"

// 1 when a URL surrounds text[position]: out (cleared first) then holds it and
// start and end receive the indexes of its first and last character. 0
// otherwise, with out empty and start and end untouched.
int extract_url(Buffer &out, const char *text, int position, int *start, int *end);

// Printable characters '!'..'~' except quotes, '`', '!', parentheses, '*'
// and angle brackets.
bool is_allowed_url_char(char character);

// Whether text begins with "http://", "https://" or "ftp://".
bool is_url_header(const char *text);

#endif
