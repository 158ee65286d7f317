#ifndef VUSK_CLIPBOARD_H
#define VUSK_CLIPBOARD_H

// The toolkit clipboard for copied game text. On X11 the primary selection
// alone cannot be pasted with Control-V, so copied text goes to both.

// Stores the 8-bit text as plain text in the primary selection and on the
// clipboard. Does nothing when the clipboard cannot be opened.
void set_clipboard_data(const char *text);

// Replaces what the clipboard holds with its plain text, cut at the first
// NUL, so that a paste reads plain text only. Called before a paste.
void sanitize_clipboard_data();

#endif
