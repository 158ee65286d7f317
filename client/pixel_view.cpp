#include "pixel_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
constexpr int CHANNEL_MAX = 255;
constexpr int FIXED_SHIFT = 8;               // gradients carry channels in 8.8 fixed point
constexpr int COVERAGE_DIVISOR = 256;        // glyph blends divide by 256, not 255
// Polygon edge positions are clamped to this before truncation to an integer,
// far outside any bitmap but safely inside the range of int64_t.
constexpr double EDGE_X_LIMIT = 1e15;

int clamp_channel(int value) { return std::clamp(value, 0, CHANNEL_MAX); }

vusk_color clamped(const vusk_color &c)
{
    return {clamp_channel(c.r), clamp_channel(c.g), clamp_channel(c.b)};
}

void write_rgb(unsigned char *p, const vusk_color &c)
{
    p[pixel_view::RED] = static_cast<unsigned char>(c.r);
    p[pixel_view::GREEN] = static_cast<unsigned char>(c.g);
    p[pixel_view::BLUE] = static_cast<unsigned char>(c.b);
}

int64_t sign_of(int64_t v) { return (v > 0) - (v < 0); }

int64_t floor_div(__int128 a, int64_t b)
{
    __int128 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return static_cast<int64_t>(q);
}

int64_t ceil_div(__int128 a, int64_t b) { return -floor_div(-a, b); }

// An inclusive range of coordinates, clipped to 0..limit-1.
struct span {
    int64_t first;
    int64_t last;
    bool empty() const { return first > last; }
};

span clip(int64_t a, int64_t b, int limit)
{
    return {std::max<int64_t>(std::min(a, b), 0), std::min<int64_t>(std::max(a, b), int64_t(limit) - 1)};
}

// The steps 0..n of a line whose major coordinate starts at a0 and moves by
// `direction` each step, restricted to those whose major coordinate lies in
// 0..limit-1. Lets lines far outside the bitmap cost nothing.
span visible_steps(int64_t a0, int64_t direction, int64_t n, int limit)
{
    span s{0, n};
    if (direction > 0) {
        s.first = std::max<int64_t>(0, -a0);
        s.last = std::min<int64_t>(n, limit - 1 - a0);
    } else if (direction < 0) {
        s.first = std::max<int64_t>(0, a0 - (limit - 1));
        s.last = std::min<int64_t>(n, a0);
    } else if (a0 < 0 || a0 >= limit) {
        s.last = -1;
    }
    return s;
}

// The three channels of a colour in 8.8 fixed point, moving by a constant
// step: the span from `from` to `to` divided into `divisions` steps.
class channel_ramp {
public:
    channel_ramp(const vusk_color &from, const vusk_color &to, int64_t divisions)
        : value_{int64_t(from.r) << FIXED_SHIFT, int64_t(from.g) << FIXED_SHIFT, int64_t(from.b) << FIXED_SHIFT},
          step_{step(from.r, to.r, divisions), step(from.g, to.g, divisions), step(from.b, to.b, divisions)}
    {
    }

    void advance(int64_t steps = 1)
    {
        for (int i = 0; i < 3; ++i)
            value_[i] += step_[i] * steps;
    }

    vusk_color color() const
    {
        return {int(value_[0] >> FIXED_SHIFT), int(value_[1] >> FIXED_SHIFT), int(value_[2] >> FIXED_SHIFT)};
    }

private:
    static int64_t step(int from, int to, int64_t divisions)
    {
        return ((int64_t(to) << FIXED_SHIFT) - (int64_t(from) << FIXED_SHIFT)) / divisions;
    }

    int64_t value_[3];
    int64_t step_[3];
};

struct polygon_edge {
    int64_t y_top;
    int64_t y_bottom;
    bool seen;
    double x;
    double inverse_slope;
};

int64_t truncate_edge_x(double x)
{
    return static_cast<int64_t>(std::clamp(x, -EDGE_X_LIMIT, EDGE_X_LIMIT));
}

void sort_edges(std::vector<polygon_edge> &edges)
{
    std::stable_sort(edges.begin(), edges.end(),
                     [](const polygon_edge &a, const polygon_edge &b) { return a.x < b.x; });
}
}

pixel_view::pixel_view(unsigned char *pixels, int width, int height, int stride)
    : pixels_(pixels), width_(std::max(width, 0)), height_(std::max(height, 0)), stride_(stride)
{
}

vusk_color pixel_view::color_at(int x, int y) const
{
    const unsigned char *p = pixel(x, y);
    return {p[RED], p[GREEN], p[BLUE]};
}

// Stored word by word rather than copied row from row: a copy reads as much
// memory as it writes, and the text windows clear their whole bitmap on
// every paint.
void pixel_view::Clear(const vusk_color &colour)
{
    unsigned char pattern[BYTES_PER_PIXEL] = {};
    write_rgb(pattern, clamped(colour));
    pattern[ALPHA] = CHANNEL_MAX;
    uint32_t word;
    std::memcpy(&word, pattern, sizeof word);
    // Rows need not be aligned to whole words, so each word is copied in. The
    // width is held locally: byte stores could alias the member, which would
    // keep the loop from being vectorised.
    const int width = width_;
    for (int y = 0; y < height_; ++y) {
        unsigned char *row = pixel(0, y);
        for (int x = 0; x < width; ++x)
            std::memcpy(row + x * BYTES_PER_PIXEL, &word, sizeof word);
    }
}

void pixel_view::CopyFrom(const pixel_view &source)
{
    const int columns = std::min(width_, source.width_);
    const int rows = std::min(height_, source.height_);
    for (int y = 0; y < rows && columns > 0; ++y)
        std::memcpy(pixel(0, y), source.pixel(0, y), size_t(columns) * BYTES_PER_PIXEL);
}

void pixel_view::put(int64_t x, int64_t y, const vusk_color &colour)
{
    if (x >= 0 && x < width_ && y >= 0 && y < height_)
        write_rgb(pixel(int(x), int(y)), colour);
}

void pixel_view::fill_row(int y, int64_t x0, int64_t x1, const vusk_color &colour)
{
    const span columns = clip(x0, x1, width_);
    if (columns.empty())
        return;
    // Whole pixels at a time, keeping each one's alpha: a loop the compiler
    // can vectorise.
    unsigned char pattern[BYTES_PER_PIXEL] = {};
    unsigned char alpha_only[BYTES_PER_PIXEL] = {};
    write_rgb(pattern, colour);
    alpha_only[ALPHA] = CHANNEL_MAX;
    uint32_t colour_bits, alpha_mask;
    std::memcpy(&colour_bits, pattern, sizeof colour_bits);
    std::memcpy(&alpha_mask, alpha_only, sizeof alpha_mask);
    unsigned char *p = pixel(int(columns.first), y);
    unsigned char *const end = p + (columns.last - columns.first + 1) * BYTES_PER_PIXEL;
    for (; p != end; p += BYTES_PER_PIXEL) {
        uint32_t value;
        std::memcpy(&value, p, sizeof value);
        value = (value & alpha_mask) | colour_bits;
        std::memcpy(p, &value, sizeof value);
    }
}

void pixel_view::DrawPixel(int x, int y, const vusk_color &colour) { put(x, y, clamped(colour)); }

void pixel_view::DrawPixel(int x, int y, int r, int g, int b) { DrawPixel(x, y, vusk_color(r, g, b)); }

void pixel_view::DrawLine(int x0, int y0, int x1, int y1, const vusk_color &colour)
{
    line(x0, y0, x1, y1, clamped(colour));
}

// Stepped along the major axis with the end points ordered so that it grows;
// only the steps whose major coordinate is inside the view are visited, the
// error term being brought to the first of them arithmetically.
void pixel_view::line(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const vusk_color &colour)
{
    const bool along_y = std::abs(x1 - x0) <= std::abs(y1 - y0);
    int64_t a0 = along_y ? y0 : x0, a1 = along_y ? y1 : x1;
    int64_t b0 = along_y ? x0 : y0, b1 = along_y ? x1 : y1;
    if (a1 < a0) {
        std::swap(a0, a1);
        std::swap(b0, b1);
    }
    const int64_t n = a1 - a0;
    const int64_t minor_delta = std::abs(b1 - b0);
    const int64_t minor_step = sign_of(b1 - b0);
    const span steps = visible_steps(a0, 1, n, along_y ? height_ : width_);
    if (steps.empty())
        return;

    const int64_t initial_error = n / 2;
    int64_t moves = 0;
    if (steps.first > 0)
        moves = std::max<int64_t>(0, ceil_div(__int128(steps.first) * minor_delta - initial_error, n));
    int64_t error = int64_t(initial_error - __int128(steps.first) * minor_delta + __int128(moves) * n);
    int64_t b = b0 + minor_step * moves;
    for (int64_t i = steps.first; i <= steps.last; ++i) {
        const int64_t a = a0 + i;
        along_y ? put(b, a, colour) : put(a, b, colour);
        error -= minor_delta;
        if (error < 0) {
            error += n;
            b += minor_step;
        }
    }
}

// Stepped from (x0, y0) toward (x1, y1) without reordering. The minor
// coordinate only ever moves toward the other end point: a line whose minor
// coordinates are equal stays on its row or column.
void pixel_view::DrawGradientLine(int x0, int y0, int x1, int y1, const vusk_color &from, const vusk_color &to)
{
    const bool along_y = std::abs(int64_t(x1) - x0) <= std::abs(int64_t(y1) - y0);
    const int64_t a0 = along_y ? y0 : x0, a1 = along_y ? y1 : x1;
    const int64_t b0 = along_y ? x0 : y0, b1 = along_y ? x1 : y1;
    const int64_t n = std::abs(a1 - a0);
    const int64_t minor_delta = std::abs(b1 - b0);
    const int64_t minor_step = sign_of(b1 - b0);
    const span steps = visible_steps(a0, sign_of(a1 - a0), n, along_y ? height_ : width_);
    if (steps.empty())
        return;

    const int64_t initial_error = -(n / 2);
    // On lines of three pixels or more the error stays within -n..-1 after
    // every step, which gives the number of minor moves directly; shorter
    // lines never start past their second pixel.
    const int64_t moves = n >= 2 ? floor_div(__int128(initial_error) + __int128(steps.first) * minor_delta, n) + 1
                                 : steps.first * minor_delta;
    int64_t error = int64_t(initial_error + __int128(steps.first) * minor_delta - __int128(moves) * n);
    int64_t b = b0 + minor_step * moves;
    channel_ramp ramp(clamped(from), clamped(to), n + 1);
    ramp.advance(steps.first);
    const int64_t major_step = sign_of(a1 - a0);
    for (int64_t i = steps.first; i <= steps.last; ++i) {
        const int64_t a = a0 + major_step * i;
        along_y ? put(b, a, ramp.color()) : put(a, b, ramp.color());
        error += minor_delta;
        ramp.advance();
        if (error >= 0) {
            b += minor_step;
            error -= n;
        }
    }
}

void pixel_view::DrawFilledRectangle(int x0, int y0, int x1, int y1, const vusk_color &colour)
{
    const span rows = clip(y0, y1, height_);
    const span columns = clip(x0, x1, width_);
    if (rows.empty() || columns.empty())
        return;
    const vusk_color c = clamped(colour);
    for (int64_t y = rows.first; y <= rows.last; ++y)
        fill_row(int(y), columns.first, columns.last, c);
}

// Each visible row gets the next colour of the ramp, so the first row drawn
// already has one step; rows clipped away at the top do not use up steps.
void pixel_view::DrawYGradientRectangle(int x0, int y0, int x1, int y1, const vusk_color &top,
                                        const vusk_color &bottom)
{
    const int top_y = std::min(y0, y1), bottom_y = std::max(y0, y1);
    if (std::max(x0, x1) < 0 || bottom_y < 0 || std::min(x0, x1) >= width_ || top_y >= height_)
        return;
    channel_ramp ramp(clamped(top), clamped(bottom), int64_t(bottom_y) - top_y + 2);
    const span rows = clip(top_y, bottom_y, height_);
    for (int64_t y = rows.first; y <= rows.last; ++y) {
        ramp.advance();
        fill_row(int(y), x0, x1, ramp.color());
    }
}

void pixel_view::DrawXGradientRectangle(int x0, int y0, int x1, int y1, const vusk_color &left,
                                        const vusk_color &right)
{
    const int left_x = std::min(x0, x1), right_x = std::max(x0, x1);
    if (right_x < 0 || std::max(y0, y1) < 0 || left_x >= width_ || std::min(y0, y1) >= height_)
        return;
    channel_ramp ramp(clamped(left), clamped(right), int64_t(right_x) - left_x + 2);
    const span columns = clip(left_x, right_x, width_);
    const span rows = clip(y0, y1, height_);
    std::vector<vusk_color> column_colours;
    column_colours.reserve(size_t(columns.last - columns.first + 1));
    for (int64_t x = columns.first; x <= columns.last; ++x) {
        ramp.advance();
        column_colours.push_back(ramp.color());
    }
    for (int64_t y = rows.first; y <= rows.last; ++y)
        for (size_t i = 0; i < column_colours.size(); ++i)
            write_rgb(pixel(int(columns.first + int64_t(i)), int(y)), column_colours[i]);
}

void pixel_view::DrawFilledCircle(int cx, int cy, int radius, const vusk_color &colour)
{
    const int64_t r = std::max(radius, 0);
    if (cy - r >= height_ || cy + r < 0)
        return;
    const vusk_color c = clamped(colour);
    const int64_t k = r * (r + 1);
    const span rows = clip(cy - r, cy + r, height_);
    for (int64_t y = rows.first; y <= rows.last; ++y) {
        const int64_t d = y - cy;
        const float squared = float(std::max<int64_t>(k - d * d, 0));
        const int64_t h = static_cast<int64_t>(std::sqrt(squared));
        if (cx - h < width_ && cx + h >= 0)
            fill_row(int(y), cx - h, cx + h, c);
    }
}

void pixel_view::DrawPolygon(int count, const wxPoint *points, int dx, int dy, const vusk_color &outline,
                             const vusk_color &fill)
{
    if (points == nullptr || count < POLYGON_MIN_POINTS || count > POLYGON_MAX_POINTS)
        return;
    fill_polygon(count, points, dx, dy, clamped(fill));
    const vusk_color c = clamped(outline);
    line(int64_t(points[0].x) + dx, int64_t(points[0].y) + dy, int64_t(points[count - 1].x) + dx,
         int64_t(points[count - 1].y) + dy, c);
    for (int i = 1; i < count; ++i)
        line(int64_t(points[i].x) + dx, int64_t(points[i].y) + dy, int64_t(points[i - 1].x) + dx,
             int64_t(points[i - 1].y) + dy, c);
}

// Scan-line fill over an edge table. An edge takes part from the line below
// its top on, so that a vertex shared by an ending and a starting edge counts
// once. Lines above the view are skipped by moving every edge there at once.
void pixel_view::fill_polygon(int count, const wxPoint *points, int64_t dx, int64_t dy, const vusk_color &fill)
{
    std::vector<polygon_edge> edges;
    int64_t min_y = INT64_MAX, max_y = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        const wxPoint &from = points[i == 0 ? count - 1 : i - 1];
        const wxPoint &to = points[i];
        if (from.y == to.y)
            continue;
        const wxPoint &top = from.y < to.y ? from : to;
        const wxPoint &bottom = from.y < to.y ? to : from;
        const double x_top = double(top.x + dx);
        const double run = double(int64_t(bottom.x) - top.x), rise = double(int64_t(bottom.y) - top.y);
        edges.push_back({top.y + dy, bottom.y + dy, false, x_top, run / rise});
        min_y = std::min(min_y, top.y + dy);
        max_y = std::max(max_y, bottom.y + dy);
    }
    if (edges.empty())
        return;

    const int64_t first_row = std::max<int64_t>(min_y, 0);
    const int64_t last_row = std::min<int64_t>(max_y, int64_t(height_) - 1);
    if (first_row > last_row)
        return;
    edges.erase(std::remove_if(edges.begin(), edges.end(),
                               [&](const polygon_edge &e) { return e.y_bottom < first_row; }),
                edges.end());
    for (polygon_edge &e : edges) {
        if (e.y_top < first_row) {
            e.seen = true;
            e.x += double(first_row - e.y_top) * e.inverse_slope;
            e.y_top = first_row;
        }
    }
    sort_edges(edges);

    for (int64_t y = first_row; y <= last_row; ++y) {
        const polygon_edge *left = nullptr;
        for (polygon_edge &e : edges) {
            if (e.y_top > y)
                continue;
            if (!e.seen) {
                e.seen = true;
            } else if (left == nullptr) {
                left = &e;
            } else {
                fill_row(int(y), truncate_edge_x(left->x), truncate_edge_x(e.x), fill);
                left = nullptr;
            }
        }
        edges.erase(std::remove_if(edges.begin(), edges.end(),
                                   [y](const polygon_edge &e) { return e.y_bottom <= y; }),
                    edges.end());
        for (polygon_edge &e : edges) {
            if (e.y_top <= y) {
                e.y_top = y + 1;
                e.x += e.inverse_slope;
            }
        }
        sort_edges(edges);
    }
}

template <class Blend>
void pixel_view::blit(const pixel_view &source, int x, int y, Blend blend)
{
    const int64_t left = std::max<int64_t>(x, 0), right = std::min<int64_t>(int64_t(x) + source.width_, width_);
    const int64_t top = std::max<int64_t>(y, 0), bottom = std::min<int64_t>(int64_t(y) + source.height_, height_);
    for (int64_t dy = top; dy < bottom; ++dy) {
        unsigned char *to = pixel(int(left), int(dy));
        const unsigned char *from = source.pixel(int(left - x), int(dy - y));
        for (int64_t dx = left; dx < right; ++dx, to += BYTES_PER_PIXEL, from += BYTES_PER_PIXEL)
            blend(to, from);
    }
}

void pixel_view::DrawBitmap(const pixel_view &source, int x, int y)
{
    blit(source, x, y, [](unsigned char *to, const unsigned char *from) {
        to[RED] = from[RED];
        to[GREEN] = from[GREEN];
        to[BLUE] = from[BLUE];
    });
}

void pixel_view::DrawBitmapNukeAlpha(const pixel_view &source, int x, int y)
{
    blit(source, x, y, [](unsigned char *to, const unsigned char *from) {
        const int alpha = from[ALPHA];
        to[RED] = static_cast<unsigned char>((from[RED] * alpha) >> 8);
        to[GREEN] = static_cast<unsigned char>((from[GREEN] * alpha) >> 8);
        to[BLUE] = static_cast<unsigned char>((from[BLUE] * alpha) >> 8);
    });
}

void pixel_view::DrawTextGlyph(const pixel_view &glyph, int x, int y, const vusk_color &foreground,
                               const vusk_color &background)
{
    const vusk_color fg = clamped(foreground), bg = clamped(background);
    blit(glyph, x, y, [&](unsigned char *to, const unsigned char *from) {
        const int a = from[RED];
        if (a == 0) {
            write_rgb(to, bg);
            return;
        }
        write_rgb(to, {((CHANNEL_MAX - a) * bg.r + a * fg.r) / COVERAGE_DIVISOR,
                       ((CHANNEL_MAX - a) * bg.g + a * fg.g) / COVERAGE_DIVISOR,
                       ((CHANNEL_MAX - a) * bg.b + a * fg.b) / COVERAGE_DIVISOR});
    });
}

// Most of a glyph is uncovered and the rest is a mix of coverages, so a
// branch per pixel is mispredicted often: every pixel is blended and the
// uncovered ones keep their old value by selection, which the blend alone
// would darken by one step.
void pixel_view::DrawTextGlyphTransparent(const pixel_view &glyph, int x, int y, const vusk_color &colour)
{
    const vusk_color c = clamped(colour);
    blit(glyph, x, y, [&](unsigned char *to, const unsigned char *from) {
        const int a = from[RED];
        const int r = (to[RED] * (CHANNEL_MAX - a) + a * c.r) / COVERAGE_DIVISOR;
        const int g = (to[GREEN] * (CHANNEL_MAX - a) + a * c.g) / COVERAGE_DIVISOR;
        const int b = (to[BLUE] * (CHANNEL_MAX - a) + a * c.b) / COVERAGE_DIVISOR;
        to[RED] = static_cast<unsigned char>(a == 0 ? to[RED] : r);
        to[GREEN] = static_cast<unsigned char>(a == 0 ? to[GREEN] : g);
        to[BLUE] = static_cast<unsigned char>(a == 0 ? to[BLUE] : b);
    });
}
