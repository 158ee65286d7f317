#ifndef VUSK_FONT_H
#define VUSK_FONT_H

// A toolkit font with one pre-rendered glyph for each printable character
// 32..126; text is measured and drawn from these glyphs only. A glyph is the
// character in white on an opaque black cell of the character's size, so its
// red channel is the coverage. The font owns its glyphs and is not copyable.
// It keeps the glyphs of the few fonts it was before, so that switching back
// to one of them (as logins of characters in different fonts do) swaps them
// in instead of drawing them again.

#include "vusk_bitmap.h"

#include <wx/font.h>

#include <array>
#include <deque>
#include <memory>

class vusk_font : public wxFont {
public:
    static constexpr int FIRST_GLYPH = 32;
    static constexpr int LAST_GLYPH = 126;
    static constexpr int GLYPH_SLOTS = 128;
    // Glyph sets kept besides those in use, the most recently used first.
    static constexpr size_t RECENT_GLYPH_SETS = 2;

    vusk_font(int point_size, wxFontFamily family, wxFontStyle style, wxFontWeight weight,
              bool underlined = false, const wxString &face_name = wxString(),
              wxFontEncoding encoding = wxFONTENCODING_DEFAULT);
    vusk_font(const vusk_font &) = delete;
    vusk_font &operator=(const vusk_font &) = delete;

    // Sets the size and takes the glyphs of that size.
    void SetPointSize(int size) override;
    // Takes over another font's face, style, underlining, weight and size,
    // taking the glyphs once; nothing when they are this font's already.
    void bulk_change_font(const wxFont &font);
    // How many times the glyphs were built, the first time included.
    int glyph_builds() const { return glyph_builds_; }
    // How many times the glyphs in use changed, built or swapped in.
    int glyph_changes() const { return glyph_changes_; }

    // The glyph of an 8-bit character (looked up by its low seven bits), or
    // null when that code has none.
    const vusk_bitmap *glyph(char character) const;
    // Size of the glyph of a code 32..126; 0 x 0 for any other code.
    void GetCharacterSize(int code, int *width, int *height) const;
    // Width: the sum of the glyph widths; height: that of the last character
    // with a glyph. Empty text gives 0 x 0; null text leaves both untouched.
    void GetTextSize(const char *text, int *width, int *height) const;

private:
    using glyph_array = std::array<std::unique_ptr<vusk_bitmap>, GLYPH_SLOTS>;
    struct glyph_set {
        wxString key;
        glyph_array glyphs;
    };

    // Everything the glyphs are drawn from.
    wxString glyph_key() const;
    // The glyphs of the font as it is now: those in use, a recent set, or
    // built anew.
    void take_glyphs();
    glyph_array build_glyphs() const;

    wxString glyphs_key_;
    glyph_array glyphs_;
    std::deque<glyph_set> recent_glyph_sets_;
    int glyph_builds_ = 0;
    int glyph_changes_ = 0;
};

#endif
