#ifndef VUSK_TEXT_BYTES_H
#define VUSK_TEXT_BYTES_H

// The game's text, names and files are 8-bit bytes. These are the only
// crossings between bytes and the toolkit's wxString: every byte maps to the
// character of the same code (ISO-8859-1) and back, and a character the
// 8-bit text cannot hold becomes '?'.

#include <wx/string.h>

#include <cstddef>
#include <string>

wxString bytes_to_wx(const char *bytes, size_t length);
wxString bytes_to_wx(const char *text);
wxString bytes_to_wx(const std::string &bytes);

std::string wx_to_bytes(const wxString &text);

#endif
