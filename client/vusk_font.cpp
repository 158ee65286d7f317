#include "vusk_font.h"

#include "text_bytes.h"

#include <wx/dcmemory.h>

#include <algorithm>
#include <climits>

namespace {
constexpr int SEVEN_BITS = 127;
// The toolkit refuses sizes below one point.
constexpr int SMALLEST_POINT_SIZE = 1;

int glyph_index(char character) { return static_cast<unsigned char>(character) & SEVEN_BITS; }

void set_if(int *out, int value)
{
    if (out != nullptr)
        *out = value;
}
}

vusk_font::vusk_font(int point_size, wxFontFamily family, wxFontStyle style, wxFontWeight weight, bool underlined,
                     const wxString &face_name, wxFontEncoding encoding)
    : wxFont(std::max(point_size, SMALLEST_POINT_SIZE), family, style, weight, underlined, face_name, encoding)
{
    rebuild_font_glyphs();
}

void vusk_font::SetPointSize(int size)
{
    wxFont::SetPointSize(std::max(size, SMALLEST_POINT_SIZE));
    rebuild_font_glyphs();
}

// Each glyph cell starts opaque black (as every vusk_bitmap does), so the
// character's surroundings have coverage 0; the character is drawn in white.
void vusk_font::rebuild_font_glyphs()
{
    if (!IsOk())
        return;
    ++glyph_builds_;
    vusk_bitmap measuring(1, 1);
    wxMemoryDC dc(measuring);
    for (int code = FIRST_GLYPH; code <= LAST_GLYPH; ++code) {
        const char character = static_cast<char>(code);
        const wxString text = bytes_to_wx(&character, 1);
        dc.SetFont(*this);
        wxCoord width = 0, height = 0;
        dc.GetTextExtent(text, &width, &height);
        auto glyph = std::make_unique<vusk_bitmap>(width, height);
        dc.SelectObject(*glyph);
        dc.SetFont(*this);
        dc.SetTextForeground(*wxWHITE);
        dc.SetTextBackground(*wxBLACK);
        dc.DrawText(text, 0, 0);
        dc.SelectObject(measuring);
        glyphs_[code] = std::move(glyph);
    }
}

void vusk_font::bulk_change_font(const wxFont &font)
{
    if (!font.IsOk() || (font.GetFaceName() == GetFaceName() && font.GetStyle() == GetStyle() &&
                         font.GetUnderlined() == GetUnderlined() && font.GetWeight() == GetWeight() &&
                         font.GetPointSize() == GetPointSize()))
        return;
    SetFaceName(font.GetFaceName());
    SetStyle(font.GetStyle());
    SetUnderlined(font.GetUnderlined());
    SetWeight(font.GetWeight());
    SetPointSize(font.GetPointSize());
}

const vusk_bitmap *vusk_font::glyph(char character) const { return glyphs_[glyph_index(character)].get(); }

void vusk_font::GetCharacterSize(int code, int *width, int *height) const
{
    const vusk_bitmap *g = code >= FIRST_GLYPH && code <= LAST_GLYPH ? glyphs_[code].get() : nullptr;
    set_if(width, g != nullptr ? g->GetWidth() : 0);
    set_if(height, g != nullptr ? g->GetHeight() : 0);
}

void vusk_font::GetTextSize(const char *text, int *width, int *height) const
{
    if (text == nullptr)
        return;
    int64_t total_width = 0;
    int last_height = 0;
    for (const char *p = text; *p != '\0'; ++p) {
        if (const vusk_bitmap *g = glyph(*p)) {
            total_width = std::min<int64_t>(total_width + g->GetWidth(), INT_MAX);
            last_height = g->GetHeight();
        }
    }
    set_if(width, int(total_width));
    set_if(height, last_height);
}
