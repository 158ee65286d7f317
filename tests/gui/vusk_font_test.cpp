#include "vusk_font.h"

#include <gtest/gtest.h>

#include <wx/dcmemory.h>

#include <climits>
#include <string>
#include <type_traits>

static_assert(!std::is_copy_constructible_v<vusk_font>, "a font owns its glyphs");
static_assert(!std::is_copy_assignable_v<vusk_font>, "a font owns its glyphs");

namespace {
constexpr int TEXT_SIZE = 10;
constexpr int FULL_COVERAGE = 255;

std::unique_ptr<vusk_font> make_font(int size = TEXT_SIZE)
{
    return std::make_unique<vusk_font>(size, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL);
}

// Largest and smallest coverage of a glyph, and whether every pixel is opaque
// and grey (white drawn on black leaves the three channels equal).
struct glyph_summary {
    int most = 0;
    int least = 255;
    bool opaque_grey = true;
};

glyph_summary summarise(const vusk_bitmap &glyph)
{
    glyph_summary s;
    glyph.with_pixels([&](const pixel_view &v) {
        for (int y = 0; y < v.height(); ++y) {
            for (int x = 0; x < v.width(); ++x) {
                const unsigned char *p = v.pixel(x, y);
                s.most = std::max<int>(s.most, p[pixel_view::RED]);
                s.least = std::min<int>(s.least, p[pixel_view::RED]);
                s.opaque_grey &= p[pixel_view::ALPHA] == 255 && p[pixel_view::GREEN] == p[pixel_view::RED] &&
                                 p[pixel_view::BLUE] == p[pixel_view::RED];
            }
        }
    });
    return s;
}

// The pixels of a bitmap, as an image, for comparing two renderings.
wxImage pixels(const vusk_bitmap &bitmap) { return bitmap.ConvertToImage(); }

bool same_pixels(const wxImage &a, const wxImage &b)
{
    return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() &&
           std::equal(a.GetData(), a.GetData() + a.GetWidth() * a.GetHeight() * 3, b.GetData());
}

// Every glyph of the two fonts has the same pixels.
bool same_glyphs(const vusk_font &a, const vusk_font &b)
{
    for (int code = vusk_font::FIRST_GLYPH; code <= vusk_font::LAST_GLYPH; ++code) {
        if (!same_pixels(pixels(*a.glyph(char(code))), pixels(*b.glyph(char(code)))))
            return false;
    }
    return true;
}

// The character drawn by the toolkit in white on black with the font, on a
// bitmap of the toolkit's own kind.
wxImage drawn_by_the_toolkit(const wxFont &font, char character)
{
    const wxString text(wxUniChar(static_cast<unsigned char>(character)));
    wxBitmap bitmap(1, 1, 24);
    wxMemoryDC dc(bitmap);
    dc.SetFont(font);
    const wxSize size = dc.GetTextExtent(text);
    bitmap = wxBitmap(size.GetWidth(), size.GetHeight(), 24);
    dc.SelectObject(bitmap);
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    dc.SetFont(font);
    dc.SetTextForeground(*wxWHITE);
    dc.DrawText(text, 0, 0);
    dc.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
}

bool same_coverage(const vusk_bitmap &glyph, const wxImage &drawn)
{
    bool same = glyph.GetWidth() == drawn.GetWidth() && glyph.GetHeight() == drawn.GetHeight();
    glyph.with_pixels([&](const pixel_view &v) {
        for (int y = 0; same && y < v.height(); ++y)
            for (int x = 0; same && x < v.width(); ++x)
                same = v.pixel(x, y)[pixel_view::RED] == drawn.GetRed(x, y);
    });
    return same;
}

// How many pixels of the glyph have a coverage that passes `test`.
template <class Test> int count_coverage(const vusk_bitmap &glyph, Test test)
{
    int n = 0;
    glyph.with_pixels([&](const pixel_view &v) {
        for (int y = 0; y < v.height(); ++y)
            for (int x = 0; x < v.width(); ++x)
                n += test(v.pixel(x, y)[pixel_view::RED]);
    });
    return n;
}

bool full(int coverage) { return coverage == FULL_COVERAGE; }
bool some(int coverage) { return coverage > 0; }

// The printable characters whose glyphs cover some pixel fully.
std::string fully_covering_characters(const vusk_font &font)
{
    std::string characters;
    for (int code = vusk_font::FIRST_GLYPH; code <= vusk_font::LAST_GLYPH; ++code) {
        if (count_coverage(*font.glyph(char(code)), full) > 0)
            characters += char(code);
    }
    return characters;
}

int count_colour(const vusk_bitmap &bitmap, const vusk_color &colour)
{
    int n = 0;
    bitmap.with_pixels([&](const pixel_view &v) {
        for (int y = 0; y < v.height(); ++y)
            for (int x = 0; x < v.width(); ++x)
                n += v.color_at(x, y) == colour;
    });
    return n;
}
}

// Each glyph is its character as the toolkit itself draws it in white on
// black with the same font, whatever that font's strokes are like.
TEST(VuskFont, PrintableCharactersHaveOpaqueWhiteOnBlackGlyphs)
{
    const auto font = make_font();
    for (int code = 32; code <= 126; ++code) {
        const vusk_bitmap *glyph = font->glyph(char(code));
        ASSERT_NE(glyph, nullptr) << code;
        const glyph_summary s = summarise(*glyph);
        EXPECT_TRUE(s.opaque_grey) << code;
        EXPECT_EQ(s.least, 0) << code;
        EXPECT_EQ(s.most > 0, code != ' ') << code;
        EXPECT_TRUE(same_coverage(*glyph, drawn_by_the_toolkit(*font, char(code)))) << code;
    }
    EXPECT_GT(font->glyph(' ')->GetWidth(), 0);
}

TEST(VuskFont, ControlCodesHaveNoGlyphAndHighBytesUseTheirLowSevenBits)
{
    const auto font = make_font();
    for (int code : {0, 9, 10, 27, 31, 127})
        EXPECT_EQ(font->glyph(char(code)), nullptr) << code;
    EXPECT_EQ(font->glyph(char(200)), font->glyph('H'));
    EXPECT_EQ(font->glyph(char(0x80 | 9)), nullptr);
}

TEST(VuskFont, CharacterSizeIsTheGlyphSize)
{
    const auto font = make_font();
    int width = -1, height = -1;
    font->GetCharacterSize('M', &width, &height);
    EXPECT_EQ(width, font->glyph('M')->GetWidth());
    EXPECT_EQ(height, font->glyph('M')->GetHeight());
    EXPECT_GT(height, 5);
    for (int code : {9, 127, 200, -1, INT_MAX}) {
        font->GetCharacterSize(code, &width, &height);
        EXPECT_EQ(width, 0) << code;
        EXPECT_EQ(height, 0) << code;
    }
    font->GetCharacterSize('M', nullptr, &height);
    font->GetCharacterSize('M', &width, nullptr);
    EXPECT_GT(width, 0);
}

TEST(VuskFont, TextSizeAddsGlyphWidthsAndSkipsCharactersWithoutOne)
{
    const auto font = make_font();
    int w_char = 0, h_char = 0;
    font->GetCharacterSize('W', &w_char, &h_char);
    int width = -1, height = -1;
    font->GetTextSize("WWW", &width, &height);
    EXPECT_EQ(width, 3 * w_char);
    EXPECT_EQ(height, h_char);
    font->GetTextSize("W\tW\x1bW", &width, &height);
    EXPECT_EQ(width, 3 * w_char);

    font->GetTextSize("\t", &width, &height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    font->GetTextSize("", &width, &height);
    EXPECT_EQ(width, 0);

    width = height = 42;
    font->GetTextSize(nullptr, &width, &height);
    EXPECT_EQ(width, 42);
    EXPECT_EQ(height, 42);

    vusk_bitmap bitmap(1, 1);
    bitmap.GetTextSize(*font, "WW", &width, &height);
    EXPECT_EQ(width, 2 * w_char);
}

TEST(VuskFont, SetPointSizeRebuildsEveryGlyph)
{
    const auto font = make_font();
    const vusk_bitmap *before = font->glyph('A');
    const int small_height = before->GetHeight();
    font->SetPointSize(2 * TEXT_SIZE);
    EXPECT_EQ(font->GetPointSize(), 2 * TEXT_SIZE);
    EXPECT_GT(font->glyph('A')->GetHeight(), small_height);
    EXPECT_GT(font->glyph('~')->GetHeight(), small_height);
    EXPECT_TRUE(summarise(*font->glyph('A')).opaque_grey);

    font->SetPointSize(0);
    EXPECT_GE(font->GetPointSize(), 1);
    EXPECT_NE(font->glyph('A'), nullptr);
}

TEST(VuskFont, BulkChangeTakesOverTheOtherFont)
{
    const auto font = make_font();
    const wxFont chosen(3 * TEXT_SIZE, wxFONTFAMILY_SWISS, wxFONTSTYLE_ITALIC, wxFONTWEIGHT_BOLD, true);
    font->bulk_change_font(chosen);
    EXPECT_EQ(font->GetPointSize(), 3 * TEXT_SIZE);
    EXPECT_EQ(font->GetStyle(), wxFONTSTYLE_ITALIC);
    EXPECT_EQ(font->GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_TRUE(font->GetUnderlined());
    EXPECT_EQ(font->GetFaceName(), chosen.GetFaceName());
    int width = 0, height = 0;
    font->GetCharacterSize('A', &width, &height);
    EXPECT_GT(height, 2 * make_font()->glyph('A')->GetHeight());

    font->bulk_change_font(wxNullFont);
    EXPECT_EQ(font->GetPointSize(), 3 * TEXT_SIZE);
}

// A font switched back to a size or face it had recently takes those glyphs
// again without drawing them, and they are those a fresh font draws.
TEST(VuskFont, AFontSwitchedAwayAndBackHasTheGlyphsOfAFreshOne)
{
    const auto font = make_font();
    font->SetPointSize(2 * TEXT_SIZE);
    font->SetPointSize(TEXT_SIZE);
    EXPECT_EQ(font->glyph_builds(), 2);
    EXPECT_EQ(font->glyph_changes(), 3);
    EXPECT_TRUE(same_glyphs(*font, *make_font()));

    const wxFont bold_italic(TEXT_SIZE, wxFONTFAMILY_SWISS, wxFONTSTYLE_ITALIC, wxFONTWEIGHT_BOLD, true);
    font->bulk_change_font(bold_italic);
    font->bulk_change_font(*make_font());
    font->bulk_change_font(bold_italic);
    EXPECT_EQ(font->glyph_builds(), 3);
    const vusk_font fresh(TEXT_SIZE, wxFONTFAMILY_SWISS, wxFONTSTYLE_ITALIC, wxFONTWEIGHT_BOLD, true);
    EXPECT_TRUE(same_glyphs(*font, fresh));
}

// Only the most recently left fonts keep their glyphs; the one left longest
// ago is drawn again, as a fresh font draws it.
TEST(VuskFont, TheGlyphsOfTheFontLeftLongestAgoAreBuiltAgain)
{
    constexpr int sizes = int(vusk_font::RECENT_GLYPH_SETS) + 2;
    const auto font = make_font();
    for (int i = 1; i < sizes; ++i)
        font->SetPointSize(TEXT_SIZE + i);
    ASSERT_EQ(font->glyph_builds(), sizes);

    // Kept: the size left last, and the one left longest ago of those kept.
    font->SetPointSize(TEXT_SIZE + sizes - 2);
    font->SetPointSize(TEXT_SIZE + 1);
    EXPECT_EQ(font->glyph_builds(), sizes);
    EXPECT_TRUE(same_glyphs(*font, *make_font(TEXT_SIZE + 1)));

    font->SetPointSize(TEXT_SIZE);
    EXPECT_EQ(font->glyph_builds(), sizes + 1);
    EXPECT_TRUE(same_glyphs(*font, *make_font()));
}

TEST(VuskFont, TakingTheFontItIsChangesNoGlyph)
{
    const auto font = make_font();
    const vusk_bitmap *glyph = font->glyph('A');
    font->SetPointSize(TEXT_SIZE);
    font->bulk_change_font(*make_font());
    EXPECT_EQ(font->glyph_builds(), 1);
    EXPECT_EQ(font->glyph_changes(), 1);
    EXPECT_EQ(font->glyph('A'), glyph);
}

// The blend divides by 256: a pixel the glyph covers fully, drawn white on
// black, becomes 254, and no other coverage does. Thin fonts cover no pixel
// fully at small sizes, so the size is doubled until some glyph does.
TEST(VuskFont, FullCoverageOfWhiteOnBlackGives254)
{
    std::unique_ptr<vusk_font> font;
    std::string covering;
    for (int size = TEXT_SIZE; covering.empty() && size <= 8 * TEXT_SIZE; size *= 2) {
        font = make_font(size);
        covering = fully_covering_characters(*font);
    }
    ASSERT_FALSE(covering.empty()) << "no glyph covers a pixel fully";
    int fully_covered = 0, width = 0, height = 0;
    for (char c : covering)
        fully_covered += count_coverage(*font->glyph(c), full);
    font->GetTextSize(covering.c_str(), &width, &height);
    vusk_bitmap bitmap(width, height);
    bitmap.RenderText(*font, covering.c_str(), 0, 0, vusk_WHITE, vusk_BLACK);
    EXPECT_EQ(count_colour(bitmap, vusk_color(254, 254, 254)), fully_covered);
    EXPECT_EQ(count_colour(bitmap, vusk_WHITE), 0);
}

TEST(VuskFont, RenderTextDrawsGlyphsSideBySide)
{
    const auto font = make_font();
    int w = 0, h = 0;
    font->GetTextSize("AB", &w, &h);
    vusk_bitmap text(w + 4, h + 4), separate(w + 4, h + 4);
    text.RenderText(*font, "AB", 2, 2, vusk_YELLOW, vusk_BLUE);
    separate.DrawTextGlyph(*font->glyph('A'), 2, 2, vusk_YELLOW, vusk_BLUE);
    separate.DrawTextGlyph(*font->glyph('B'), 2 + font->glyph('A')->GetWidth(), 2, vusk_YELLOW, vusk_BLUE);
    EXPECT_TRUE(same_pixels(pixels(text), pixels(separate)));
    EXPECT_GT(count_colour(text, vusk_BLUE), 0);
    EXPECT_EQ(count_colour(text, vusk_BLACK), (w + 4) * (h + 4) - w * h);
}

TEST(VuskFont, Code200IsDrawnAsHAndTabsAreSkipped)
{
    const auto font = make_font();
    vusk_bitmap high(60, 20), plain(60, 20), tabbed(60, 20);
    high.RenderText(*font, "x\xc8y", 1, 1, vusk_WHITE, vusk_BLACK);
    plain.RenderText(*font, "xHy", 1, 1, vusk_WHITE, vusk_BLACK);
    tabbed.RenderText(*font, "x\tH\x7fy", 1, 1, vusk_WHITE, vusk_BLACK);
    EXPECT_TRUE(same_pixels(pixels(high), pixels(plain)));
    EXPECT_TRUE(same_pixels(pixels(tabbed), pixels(plain)));
}

TEST(VuskFont, RenderTextOutsideTheBitmapOrWithoutTextDrawsNothing)
{
    const auto font = make_font();
    vusk_bitmap bitmap(30, 20);
    bitmap.RenderText(*font, nullptr, 0, 0, vusk_WHITE, vusk_RED);
    bitmap.RenderText(*font, "", 0, 0, vusk_WHITE, vusk_RED);
    bitmap.RenderText(*font, "abc", 31, 0, vusk_WHITE, vusk_RED);
    bitmap.RenderText(*font, "abc", 0, 21, vusk_WHITE, vusk_RED);
    bitmap.RenderText(*font, "abc", INT_MIN, INT_MIN, vusk_WHITE, vusk_RED);
    bitmap.RenderTextTransparent(*font, "abc", INT_MAX, 0, vusk_WHITE);
    EXPECT_EQ(count_colour(bitmap, vusk_BLACK), 30 * 20);
}

TEST(VuskFont, TextIsClippedAtEachEdge)
{
    const auto font = make_font();
    vusk_bitmap bitmap(30, 20);
    const std::string long_text(200, 'W');
    for (auto [x, y] : std::vector<std::pair<int, int>>{{-5, 5}, {25, 5}, {5, -8}, {5, 15}, {-100, -3}})
        bitmap.RenderText(*font, long_text.c_str(), x, y, vusk_WHITE, vusk_RED);
    EXPECT_GT(count_colour(bitmap, vusk_RED), 0);
    EXPECT_EQ(bitmap.GetWidth(), 30);
}

// Only the pixels the glyphs cover change.
TEST(VuskFont, TransparentTextKeepsTheBackground)
{
    const auto font = make_font();
    int width = 0, height = 0;
    font->GetTextSize(" . ", &width, &height);
    vusk_bitmap bitmap(width, height);
    bitmap.Clear(vusk_GREEN);
    bitmap.RenderTextTransparent(*font, " . ", 0, 0, vusk_RED);
    const int covered = count_coverage(*font->glyph('.'), some);
    EXPECT_GT(covered, 0);
    EXPECT_EQ(count_colour(bitmap, vusk_GREEN), width * height - covered);
    EXPECT_EQ(count_colour(bitmap, vusk_BLACK), 0);
}
