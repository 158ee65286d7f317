#include "vusk_font.h"

#include "text_bytes.h"

#include <wx/dcmemory.h>

#include <algorithm>
#include <climits>
#include <utility>

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
    take_glyphs();
}

void vusk_font::SetPointSize(int size)
{
    wxFont::SetPointSize(std::max(size, SMALLEST_POINT_SIZE));
    take_glyphs();
}

// The native description holds the face, size, style and weight; the toolkit
// keeps the lines drawn through the text beside it.
wxString vusk_font::glyph_key() const
{
    return GetNativeFontInfoDesc() + (GetUnderlined() ? wxS("|underlined") : wxS("|")) +
           (GetStrikethrough() ? wxS("|struck") : wxS("|"));
}

void vusk_font::take_glyphs()
{
    if (!IsOk())
        return;
    wxString key = glyph_key();
    if (key == glyphs_key_)
        return;
    glyph_set previous{std::exchange(glyphs_key_, key), std::move(glyphs_)};
    const auto recent = std::find_if(recent_glyph_sets_.begin(), recent_glyph_sets_.end(),
                                     [&](const glyph_set &set) { return set.key == key; });
    if (recent != recent_glyph_sets_.end()) {
        glyphs_ = std::move(recent->glyphs);
        recent_glyph_sets_.erase(recent);
    } else {
        glyphs_ = build_glyphs();
        ++glyph_builds_;
    }
    ++glyph_changes_;
    if (previous.key.empty())
        return;
    recent_glyph_sets_.push_front(std::move(previous));
    if (recent_glyph_sets_.size() > RECENT_GLYPH_SETS)
        recent_glyph_sets_.pop_back();
}

// Each glyph cell starts opaque black (as every vusk_bitmap does), so the
// character's surroundings have coverage 0; the character is drawn in white.
vusk_font::glyph_array vusk_font::build_glyphs() const
{
    glyph_array glyphs;
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
        glyphs[code] = std::move(glyph);
    }
    return glyphs;
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
