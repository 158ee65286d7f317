#include "pixel_view.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {
constexpr unsigned char CANARY = 0xA5;
constexpr int PADDING_PIXELS = 3;
const vusk_color PAINT{10, 200, 30};

// A view into the middle of a larger buffer: padding at the end of every row
// and a guard row above and below, all holding a canary, so that any write
// outside the view shows.
class canvas {
public:
    canvas(int width, int height)
        : width_(width), height_(height), stride_((width + PADDING_PIXELS) * pixel_view::BYTES_PER_PIXEL),
          bytes_(size_t(stride_) * (height + 2), CANARY),
          view_(bytes_.data() + stride_, width, height, stride_)
    {
        view_.Clear(vusk_BLACK);
    }
    canvas(const canvas &) = delete;
    canvas(canvas &&) = default; // the buffer, and so the view, moves along

    pixel_view &view() { return view_; }
    vusk_color at(int x, int y) const { return view_.color_at(x, y); }
    int alpha(int x, int y) const { return view_.pixel(x, y)[pixel_view::ALPHA]; }

    bool outside_untouched() const
    {
        for (size_t i = 0; i < bytes_.size(); ++i) {
            const long offset = long(i) - stride_;
            const long row = offset < 0 ? -1 : offset / stride_;
            const bool inside = row >= 0 && row < height_ && offset % stride_ < width_ * pixel_view::BYTES_PER_PIXEL;
            if (!inside && bytes_[i] != CANARY)
                return false;
        }
        return true;
    }

    int count(const vusk_color &c) const
    {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                n += at(x, y) == c;
        return n;
    }

    // The painted pixels as a picture, one string per row ('#' painted).
    std::vector<std::string> picture(const vusk_color &c = PAINT) const
    {
        std::vector<std::string> rows(height_, std::string(width_, '.'));
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (at(x, y) == c)
                    rows[y][x] = '#';
        return rows;
    }

    // Whether this canvas equals the window of `big` whose top-left is (ox, oy).
    bool equals_window_of(const canvas &big, int ox, int oy) const
    {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (at(x, y) != big.at(x + ox, y + oy))
                    return false;
        return true;
    }

private:
    int width_;
    int height_;
    int stride_;
    std::vector<unsigned char> bytes_;
    pixel_view view_;
};

// Offsets that put a shape across each of the four edges of a 20x20 view and
// wholly beyond each of them.
const std::vector<std::pair<int, int>> EDGE_OFFSETS = {
    {-5, 5}, {15, 5}, {5, -5}, {5, 15}, {-30, 5}, {40, 5}, {5, -30}, {5, 40}, {-5, -5}, {15, 15},
};

// Draws the same shape on a small view at each offset and on a big view that
// holds it whole; the small one must show exactly its window of the big one,
// and nothing may be written outside it.
void expect_clipped_like_whole(const std::function<void(pixel_view &, int, int)> &draw)
{
    constexpr int SMALL = 20, MARGIN = 70;
    for (auto [ox, oy] : EDGE_OFFSETS) {
        canvas small(SMALL, SMALL), big(SMALL + 2 * MARGIN, SMALL + 2 * MARGIN);
        draw(small.view(), ox, oy);
        draw(big.view(), ox + MARGIN, oy + MARGIN);
        EXPECT_TRUE(small.equals_window_of(big, MARGIN, MARGIN)) << "offset " << ox << "," << oy;
        EXPECT_TRUE(small.outside_untouched()) << "offset " << ox << "," << oy;
    }
}
}

TEST(PixelView, ClearSetsEveryPixelOpaqueAndStaysInside)
{
    canvas c(7, 5);
    c.view().pixel(3, 3)[pixel_view::ALPHA] = 0;
    c.view().Clear(vusk_CYAN);
    EXPECT_EQ(c.count(vusk_CYAN), 35);
    EXPECT_EQ(c.alpha(3, 3), 255);
    EXPECT_EQ(c.alpha(6, 4), 255);
    EXPECT_TRUE(c.outside_untouched());
}

TEST(PixelView, PrimitivesLeaveAlphaAlone)
{
    canvas c(8, 8);
    c.view().pixel(2, 2)[pixel_view::ALPHA] = 77;
    c.view().DrawFilledRectangle(0, 0, 7, 7, PAINT);
    c.view().DrawLine(0, 2, 7, 2, vusk_RED);
    c.view().DrawYGradientRectangle(0, 0, 7, 7, vusk_BLACK, vusk_WHITE);
    EXPECT_EQ(c.alpha(2, 2), 77);
}

TEST(PixelView, ColoursOutsideTheChannelRangeAreClamped)
{
    canvas c(2, 1);
    c.view().DrawPixel(0, 0, 300, -5, 128);
    c.view().DrawFilledRectangle(1, 0, 1, 0, vusk_color(-1, 999, 255));
    EXPECT_EQ(c.at(0, 0), vusk_color(255, 0, 128));
    EXPECT_EQ(c.at(1, 0), vusk_color(0, 255, 255));
}

TEST(PixelView, PixelsOutsideTheViewAreIgnored)
{
    canvas c(6, 4);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {6, 0}, {0, -1}, {0, 4}, {INT_MIN, INT_MAX}})
        c.view().DrawPixel(x, y, PAINT);
    EXPECT_EQ(c.count(PAINT), 0);
    EXPECT_TRUE(c.outside_untouched());
    c.view().DrawPixel(5, 3, PAINT);
    EXPECT_EQ(c.at(5, 3), PAINT);
}

TEST(PixelView, LinesStepAlongTheirMajorAxisInEitherDirection)
{
    const std::vector<std::string> expected = {
        "##...",
        "..##.",
        "....#",
    };
    canvas forward(5, 3), backward(5, 3);
    forward.view().DrawLine(0, 0, 4, 2, PAINT);
    backward.view().DrawLine(4, 2, 0, 0, PAINT);
    EXPECT_EQ(forward.picture(), expected);
    EXPECT_EQ(backward.picture(), expected);

    canvas steep(3, 5), point(3, 3);
    steep.view().DrawLine(2, 4, 0, 0, PAINT);
    EXPECT_EQ(steep.picture(), (std::vector<std::string>{"#..", "#..", ".#.", ".#.", "..#"}));
    point.view().DrawLine(1, 1, 1, 1, PAINT);
    EXPECT_EQ(point.count(PAINT), 1);
}

TEST(PixelView, LinesAreClippedAtEveryEdgeLikeTheWholeLine)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-25, 45);
    for (int i = 0; i < 40; ++i) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        expect_clipped_like_whole([&](pixel_view &v, int ox, int oy) { v.DrawLine(x0 + ox, y0 + oy, x1 + ox, y1 + oy, PAINT); });
        expect_clipped_like_whole([&](pixel_view &v, int ox, int oy) {
            v.DrawGradientLine(x0 + ox, y0 + oy, x1 + ox, y1 + oy, vusk_WHITE, vusk_color(0, 100, 250));
        });
    }
}

TEST(PixelView, LinesAcrossTheWholeIntRangeOnlyTouchTheView)
{
    canvas row(20, 10), diagonal(20, 20), gradient(20, 20);
    row.view().DrawLine(INT_MIN, 5, INT_MAX, 5, PAINT);
    EXPECT_EQ(row.count(PAINT), 20);
    EXPECT_EQ(row.at(0, 5), PAINT);
    diagonal.view().DrawLine(INT_MAX, INT_MAX, INT_MIN + 1, INT_MIN + 1, PAINT);
    gradient.view().DrawGradientLine(INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX, PAINT, PAINT);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(diagonal.at(i, i), PAINT);
        EXPECT_EQ(gradient.at(i, i), PAINT);
    }
    EXPECT_EQ(diagonal.count(PAINT), 20);
    EXPECT_EQ(gradient.count(PAINT), 20);
    EXPECT_TRUE(diagonal.outside_untouched());
}

TEST(PixelView, GradientLineStartsAtItsFirstColourAndStopsOneStepShort)
{
    canvas c(10, 1);
    c.view().DrawGradientLine(0, 0, 9, 0, vusk_BLACK, vusk_color(250, 250, 250));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(c.at(x, 0).r, 25 * x) << "x " << x;

    canvas reversed(10, 1);
    reversed.view().DrawGradientLine(9, 0, 0, 0, vusk_BLACK, vusk_color(250, 250, 250));
    EXPECT_EQ(reversed.at(9, 0).g, 0);
    EXPECT_EQ(reversed.at(0, 0).g, 225);
}

TEST(PixelView, ShortStraightGradientLinesStayOnTheirRowOrColumn)
{
    canvas across(5, 5), down(5, 5);
    across.view().DrawGradientLine(2, 2, 3, 2, PAINT, PAINT);
    down.view().DrawGradientLine(2, 2, 2, 3, PAINT, PAINT);
    EXPECT_EQ(across.picture()[2], "..##.");
    EXPECT_EQ(across.count(PAINT), 2);
    EXPECT_EQ(down.at(2, 3), PAINT);
    EXPECT_EQ(down.count(PAINT), 2);
}

TEST(PixelView, RectangleCornersMayComeInEitherOrder)
{
    canvas ordered(8, 8), reversed(8, 8), mixed(8, 8);
    ordered.view().DrawFilledRectangle(2, 2, 5, 5, PAINT);
    reversed.view().DrawFilledRectangle(5, 5, 2, 2, PAINT);
    mixed.view().DrawFilledRectangle(5, 2, 2, 5, PAINT);
    EXPECT_EQ(ordered.count(PAINT), 16);
    EXPECT_EQ(ordered.at(2, 2), PAINT);
    EXPECT_EQ(ordered.at(5, 5), PAINT);
    EXPECT_EQ(reversed.picture(), ordered.picture());
    EXPECT_EQ(mixed.picture(), ordered.picture());
}

TEST(PixelView, FilledRectanglesAreClippedAtEveryEdge)
{
    expect_clipped_like_whole([](pixel_view &v, int ox, int oy) { v.DrawFilledRectangle(ox, oy, ox + 9, oy + 6, PAINT); });
    canvas whole(6, 6);
    whole.view().DrawFilledRectangle(INT_MIN, INT_MAX, INT_MAX, INT_MIN, PAINT);
    EXPECT_EQ(whole.count(PAINT), 36);
    EXPECT_TRUE(whole.outside_untouched());
}

TEST(PixelView, YGradientKnownValues)
{
    canvas c(3, 10);
    c.view().DrawYGradientRectangle(0, 0, 2, 9, vusk_BLACK, vusk_color(250, 250, 250));
    EXPECT_EQ(c.at(1, 0), vusk_color(22, 22, 22));
    EXPECT_EQ(c.at(1, 9), vusk_color(227, 227, 227));
    for (int y = 1; y < 10; ++y)
        EXPECT_GT(c.at(0, y).r, c.at(0, y - 1).r);

    canvas upside_down(3, 10);
    upside_down.view().DrawYGradientRectangle(2, 9, 0, 0, vusk_BLACK, vusk_color(250, 250, 250));
    EXPECT_EQ(upside_down.at(2, 0).b, 22);
}

TEST(PixelView, GradientRowsClippedAwayDoNotAdvanceTheColour)
{
    // Rows -5..9: 15 rows, step 64000 / 16 = 4000; the first visible row gets
    // one step, as if the clipped rows were not there.
    canvas y(3, 10), x(10, 3);
    y.view().DrawYGradientRectangle(0, -5, 2, 9, vusk_BLACK, vusk_color(250, 250, 250));
    x.view().DrawXGradientRectangle(-5, 0, 9, 2, vusk_BLACK, vusk_color(250, 250, 250));
    EXPECT_EQ(y.at(0, 0).r, 4000 >> 8);
    EXPECT_EQ(y.at(0, 9).r, 40000 >> 8);
    EXPECT_EQ(x.at(0, 1).g, 4000 >> 8);
    EXPECT_EQ(x.at(9, 1).g, 40000 >> 8);
}

TEST(PixelView, GradientRectanglesOutsideTheViewDrawNothing)
{
    canvas c(10, 10);
    c.view().DrawYGradientRectangle(-8, 2, -1, 5, PAINT, PAINT);
    c.view().DrawYGradientRectangle(2, -8, 5, -1, PAINT, PAINT);
    c.view().DrawXGradientRectangle(10, 2, 15, 5, PAINT, PAINT);
    c.view().DrawXGradientRectangle(2, 10, 5, 15, PAINT, PAINT);
    EXPECT_EQ(c.count(PAINT), 0);
    EXPECT_TRUE(c.outside_untouched());
    c.view().DrawXGradientRectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX, PAINT, PAINT);
    EXPECT_EQ(c.count(PAINT), 100);
}

TEST(PixelView, XGradientRunsLeftToRightAndClipsColumns)
{
    canvas c(10, 4);
    c.view().DrawXGradientRectangle(9, 1, 0, 2, vusk_BLACK, vusk_color(0, 0, 250));
    EXPECT_EQ(c.at(0, 1).b, 22);
    EXPECT_EQ(c.at(9, 2).b, 227);
    EXPECT_EQ(c.at(5, 0), vusk_BLACK);
    EXPECT_EQ(c.at(5, 3), vusk_BLACK);
}

TEST(PixelView, GradientRectanglesAreClippedAtEveryEdge)
{
    // Clipping on the side the gradient starts from changes the colours (see
    // above); clipping elsewhere leaves the visible part as it was.
    for (auto [ox, oy] : EDGE_OFFSETS) {
        canvas x(20, 20), y(20, 20), whole(60, 60);
        x.view().DrawXGradientRectangle(ox, oy, ox + 11, oy + 7, vusk_RED, vusk_BLUE);
        y.view().DrawYGradientRectangle(ox, oy, ox + 11, oy + 7, vusk_RED, vusk_BLUE);
        EXPECT_TRUE(x.outside_untouched());
        EXPECT_TRUE(y.outside_untouched());
        whole.view().DrawXGradientRectangle(ox + 20, oy + 20, ox + 31, oy + 27, vusk_RED, vusk_BLUE);
        if (ox >= 0) {
            EXPECT_TRUE(x.equals_window_of(whole, 20, 20)) << ox << "," << oy;
        }
        whole.view().DrawYGradientRectangle(ox + 20, oy + 20, ox + 31, oy + 27, vusk_RED, vusk_BLUE);
        if (oy >= 0) {
            EXPECT_TRUE(y.equals_window_of(whole, 20, 20)) << ox << "," << oy;
        }
    }
}

TEST(PixelView, CircleRowsFollowTheirSquareRoots)
{
    canvas c(9, 9);
    c.view().DrawFilledCircle(4, 4, 3, PAINT);
    const std::vector<std::string> expected = {
        ".........",
        "...###...",
        "..#####..",
        ".#######.",
        ".#######.",
        ".#######.",
        "..#####..",
        "...###...",
        ".........",
    };
    EXPECT_EQ(c.picture(), expected);
}

TEST(PixelView, CircleOfRadiusZeroOrLessIsOnePixel)
{
    canvas zero(20, 20), negative(20, 20);
    zero.view().DrawFilledCircle(10, 10, 0, PAINT);
    negative.view().DrawFilledCircle(10, 10, -4, PAINT);
    EXPECT_EQ(zero.count(PAINT), 1);
    EXPECT_EQ(zero.at(10, 10), PAINT);
    EXPECT_EQ(negative.count(PAINT), 1);
}

TEST(PixelView, CirclesAreClippedAtEveryEdge)
{
    expect_clipped_like_whole([](pixel_view &v, int ox, int oy) { v.DrawFilledCircle(ox + 4, oy + 4, 7, PAINT); });
    canvas huge(8, 8);
    huge.view().DrawFilledCircle(4, 4, INT_MAX, PAINT);
    EXPECT_EQ(huge.count(PAINT), 64);
    huge.view().DrawFilledCircle(INT_MIN, INT_MAX, INT_MAX, vusk_RED);
    EXPECT_TRUE(huge.outside_untouched());
}

TEST(PixelView, PolygonFillsInsideItsOutline)
{
    const wxPoint square[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}};
    canvas c(8, 8);
    c.view().DrawPolygon(4, square, 0, 0, vusk_RED, PAINT);
    EXPECT_EQ(c.at(0, 0), vusk_BLACK);
    EXPECT_EQ(c.at(1, 1), vusk_RED);
    EXPECT_EQ(c.at(6, 6), vusk_RED);
    EXPECT_EQ(c.at(3, 1), vusk_RED);
    EXPECT_EQ(c.at(3, 4), PAINT);
    EXPECT_EQ(c.count(vusk_RED), 20);
    EXPECT_EQ(c.count(PAINT), 16);
}

TEST(PixelView, PolygonsOfTooFewOrTooManyPointsDrawNothing)
{
    canvas c(30, 30);
    const wxPoint two[] = {{1, 1}, {20, 20}};
    c.view().DrawPolygon(2, two, 0, 0, PAINT, PAINT);
    std::vector<wxPoint> many;
    for (int i = 0; i < 1000; ++i)
        many.emplace_back(15 + int(10 * std::cos(i * 0.00628)), 15 + int(10 * std::sin(i * 0.00628)));
    c.view().DrawPolygon(1000, many.data(), 0, 0, PAINT, PAINT);
    c.view().DrawPolygon(3, nullptr, 0, 0, PAINT, PAINT);
    EXPECT_EQ(c.count(PAINT), 0);
    c.view().DrawPolygon(999, many.data(), 0, 0, PAINT, PAINT);
    EXPECT_GT(c.count(PAINT), 200);
}

TEST(PixelView, TriangleOutlineIsDrawnWhenPartlyOutside)
{
    const wxPoint triangle[] = {{-10, 5}, {15, 5}, {15, 30}};
    canvas c(20, 20);
    c.view().DrawPolygon(3, triangle, 0, 0, vusk_RED, PAINT);
    EXPECT_EQ(c.at(0, 5), vusk_RED);
    EXPECT_EQ(c.at(15, 19), vusk_RED);
    EXPECT_EQ(c.at(10, 10), PAINT);
    EXPECT_TRUE(c.outside_untouched());
}

TEST(PixelView, PolygonsAreClippedAtEveryEdge)
{
    // Whole-number inverse slopes keep every edge on whole columns, so the
    // clipped polygon must match the whole one pixel for pixel.
    const wxPoint shape[] = {{0, 0}, {8, 4}, {16, 12}, {4, 16}, {-4, 12}, {-4, 4}};
    expect_clipped_like_whole([&](pixel_view &v, int ox, int oy) { v.DrawPolygon(6, shape, ox, oy, vusk_RED, PAINT); });
}

TEST(PixelView, PolygonsSpanningTheIntRangeFinishAndStayInside)
{
    const wxPoint huge[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    canvas c(10, 10);
    c.view().DrawPolygon(4, huge, 0, 0, vusk_RED, PAINT);
    EXPECT_EQ(c.count(PAINT), 100);
    c.view().DrawPolygon(4, huge, INT_MAX, INT_MIN, vusk_RED, PAINT);
    const wxPoint sliver[] = {{INT_MIN, 0}, {INT_MAX, 1}, {INT_MIN, 9}};
    c.view().DrawPolygon(3, sliver, 0, 0, vusk_BLUE, vusk_GREEN);
    EXPECT_TRUE(c.outside_untouched());
}

TEST(PixelView, BitmapBlitCopiesColourNotAlphaAndClipsEverySide)
{
    canvas source(4, 4);
    source.view().DrawYGradientRectangle(0, 0, 3, 3, vusk_RED, vusk_BLUE);
    source.view().DrawPixel(1, 2, PAINT);
    source.view().pixel(0, 0)[pixel_view::ALPHA] = 9;

    canvas c(6, 6);
    c.view().DrawBitmap(source.view(), 1, 1);
    EXPECT_EQ(c.at(2, 3), PAINT);
    EXPECT_EQ(c.at(1, 1), source.at(0, 0));
    EXPECT_EQ(c.alpha(1, 1), 255);
    expect_clipped_like_whole([&](pixel_view &v, int ox, int oy) { v.DrawBitmap(source.view(), ox, oy); });
    expect_clipped_like_whole([&](pixel_view &v, int ox, int oy) { v.DrawBitmapNukeAlpha(source.view(), ox, oy); });
    canvas far(6, 6);
    far.view().DrawBitmap(source.view(), INT_MAX, INT_MIN);
    far.view().DrawBitmap(source.view(), INT_MIN, INT_MAX);
    EXPECT_EQ(far.count(vusk_BLACK), 36);
}

TEST(PixelView, NukeAlphaComposesTheSourceOntoBlack)
{
    canvas source(2, 1), c(2, 1);
    source.view().Clear(vusk_color(200, 100, 255));
    source.view().pixel(0, 0)[pixel_view::ALPHA] = 128;
    c.view().Clear(vusk_WHITE);
    c.view().DrawBitmapNukeAlpha(source.view(), 0, 0);
    EXPECT_EQ(c.at(0, 0), vusk_color(100, 50, 127));
    EXPECT_EQ(c.at(1, 0), vusk_color(199, 99, 254));
}

namespace {
// A 3x1 glyph of coverages 0, 128 and 255 (white on black: red is coverage).
canvas make_glyph()
{
    canvas glyph(3, 1);
    glyph.view().DrawPixel(1, 0, 128, 128, 128);
    glyph.view().DrawPixel(2, 0, vusk_WHITE);
    return glyph;
}
}

TEST(PixelView, GlyphBlendKnownValues)
{
    canvas glyph = make_glyph();
    canvas c(3, 1);
    c.view().Clear(vusk_RED);
    c.view().DrawTextGlyph(glyph.view(), 0, 0, vusk_WHITE, vusk_BLACK);
    EXPECT_EQ(c.at(0, 0), vusk_BLACK);
    EXPECT_EQ(c.at(1, 0), vusk_color(127, 127, 127));
    EXPECT_EQ(c.at(2, 0), vusk_color(254, 254, 254));

    c.view().DrawTextGlyph(glyph.view(), 0, 0, vusk_BLACK, vusk_color(100, 0, 255));
    EXPECT_EQ(c.at(0, 0), vusk_color(100, 0, 255));
    EXPECT_EQ(c.at(2, 0), vusk_color(0, 0, 0));
}

TEST(PixelView, TransparentGlyphKeepsUncoveredPixels)
{
    canvas glyph = make_glyph();
    canvas c(3, 1);
    c.view().Clear(vusk_color(100, 100, 100));
    c.view().DrawTextGlyphTransparent(glyph.view(), 0, 0, vusk_color(200, 0, 255));
    EXPECT_EQ(c.at(0, 0), vusk_color(100, 100, 100));
    EXPECT_EQ(c.at(1, 0), vusk_color((100 * 127 + 128 * 200) / 256, (100 * 127) / 256, (100 * 127 + 128 * 255) / 256));
    EXPECT_EQ(c.at(2, 0), vusk_color(199, 0, 254));
}

// Every coverage level over a background whose channels differ, alpha
// included: uncovered pixels keep their old value exactly, covered ones mix
// by coverage / 256, and alpha is never written.
TEST(PixelView, TransparentGlyphBlendsEveryCoverageLevel)
{
    constexpr int LEVELS = 256;
    canvas glyph(LEVELS, 1);
    for (int a = 0; a < LEVELS; ++a)
        glyph.view().DrawPixel(a, 0, a, 0, 0);
    const vusk_color old(37, 128, 250), ink(255, 3, 90);
    canvas c(LEVELS, 1);
    c.view().Clear(old);
    for (int x = 0; x < LEVELS; ++x)
        c.view().pixel(x, 0)[pixel_view::ALPHA] = 77;
    c.view().DrawTextGlyphTransparent(glyph.view(), 0, 0, ink);
    const auto mix = [](int was, int a, int to) { return (was * (255 - a) + a * to) / 256; };
    EXPECT_EQ(c.at(0, 0), old);
    for (int a = 1; a < LEVELS; ++a) {
        EXPECT_EQ(c.at(a, 0), vusk_color(mix(old.r, a, ink.r), mix(old.g, a, ink.g), mix(old.b, a, ink.b)))
            << "coverage " << a;
        EXPECT_EQ(c.alpha(a, 0), 77);
    }
    EXPECT_TRUE(c.outside_untouched());
}

TEST(PixelView, GlyphsAreClippedAtEveryEdge)
{
    canvas glyph(7, 9);
    glyph.view().DrawFilledCircle(3, 4, 3, vusk_WHITE);
    glyph.view().DrawLine(0, 0, 6, 8, vusk_GREY);
    expect_clipped_like_whole([&](pixel_view &v, int ox, int oy) { v.DrawTextGlyph(glyph.view(), ox, oy, vusk_YELLOW, vusk_BLUE); });
    expect_clipped_like_whole([&](pixel_view &v, int ox, int oy) { v.DrawTextGlyphTransparent(glyph.view(), ox, oy, vusk_GREEN); });
}

TEST(PixelView, CopyFromTakesEveryChannelOfTheCommonArea)
{
    canvas source(4, 3), same(4, 3), smaller(2, 2);
    source.view().DrawXGradientRectangle(0, 0, 3, 2, vusk_RED, vusk_CYAN);
    source.view().pixel(3, 2)[pixel_view::ALPHA] = 5;
    same.view().CopyFrom(source.view());
    smaller.view().CopyFrom(source.view());
    EXPECT_TRUE(same.equals_window_of(source, 0, 0));
    EXPECT_EQ(same.alpha(3, 2), 5);
    EXPECT_TRUE(smaller.equals_window_of(source, 0, 0));
    EXPECT_TRUE(smaller.outside_untouched());
}
