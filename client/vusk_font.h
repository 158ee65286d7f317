#ifndef VUSK_FONT_H
#define VUSK_FONT_H

// A toolkit font with one pre-rendered glyph for each printable character
// 32..126; text is measured and drawn from these glyphs only. A glyph is the
// character in white on an opaque black cell of the character's size, so its
// red channel is the coverage. The font owns its glyphs and is not copyable.

#include "vusk_bitmap.h"

#include <wx/font.h>

#include <array>
#include <memory>

class vusk_font : public wxFont {
public:
    static constexpr int FIRST_GLYPH = 32;
    static constexpr int LAST_GLYPH = 126;
    static constexpr int GLYPH_SLOTS = 128;

    vusk_font(int point_size, wxFontFamily family, wxFontStyle style, wxFontWeight weight,
              bool underlined = false, const wxString &face_name = wxString(),
              wxFontEncoding encoding = wxFONTENCODING_DEFAULT);
    vusk_font(const vusk_font &) = delete;
    vusk_font &operator=(const vusk_font &) = delete;

    // Sets the size and rebuilds every glyph.
    void SetPointSize(int size) override;
    void rebuild_font_glyphs();
    // Takes over another font's face, style, underlining, weight and size,
    // rebuilding the glyphs once; nothing when they are this font's already.
    void bulk_change_font(const wxFont &font);
    // How many times the glyphs were built, the first time included.
    int glyph_builds() const { return glyph_builds_; }

    // The glyph of an 8-bit character (looked up by its low seven bits), or
    // null when that code has none.
    const vusk_bitmap *glyph(char character) const;
    // Size of the glyph of a code 32..126; 0 x 0 for any other code.
    void GetCharacterSize(int code, int *width, int *height) const;
    // Width: the sum of the glyph widths; height: that of the last character
    // with a glyph. Empty text gives 0 x 0; null text leaves both untouched.
    void GetTextSize(const char *text, int *width, int *height) const;

private:
    std::array<std::unique_ptr<vusk_bitmap>, GLYPH_SLOTS> glyphs_;
    int glyph_builds_ = 0;
};

#endif
