#ifndef VUSK_LOG_EXPORT_H
#define VUSK_LOG_EXPORT_H

// Saving what a text display received since its last clear, from its render
// list: as plain text, or as an HTML page that keeps the ANSI colours. Both
// write to an open stream, leave it open and return whether every write (and
// the final flush) succeeded.

#include "render_list.h"

#include <cstdio>
#include <ctime>

bool render_text_to_file(const render_list_recorder::records_type &records, FILE *file);

// `written` is the time shown in the page title.
bool render_html_to_file(const render_list_recorder::records_type &records, FILE *file,
                         time_t written);

// Style class of a record: the colour family with "b" for bold or "d" for
// dim in front, "bogus" for a code outside the colour codes.
const char *render_list_class_name(const vusk_render_list &record);

#endif
