#ifndef VUSK_BACKGROUND_H
#define VUSK_BACKGROUND_H

// The main window's background picture: one of five styles, coloured from a
// background theme table (bright, mid and dark slots), and repeatable because
// every row of a pattern re-seeds `background_prng` from fixed numbers.

#include "pixel_view.h"
#include "vusk_color.h"

#include <memory>

class vusk_bitmap;

// Background styles as the configuration stores them; any other value
// paints as maze2.
enum {
    background_style_black = 0,
    background_style_solid = 1,
    background_style_maze1 = 2,
    background_style_maze2 = 3,
    background_style_circles = 4,
};

// Each painter paints the whole view from the colours of `theme`.
void paint_black_background(pixel_view &view, const vusk_color *theme);
void paint_solid_background(pixel_view &view, const vusk_color *theme);
void paint_maze1_background(pixel_view &view, const vusk_color *theme);
void paint_maze2_background(pixel_view &view, const vusk_color *theme);
void paint_circles_background(pixel_view &view, const vusk_color *theme);
void paint_background(pixel_view &view, int style, const vusk_color *theme);

// A background side for a client area side: rounded up to the next multiple
// of 256 above it (984 gives 1024, 1024 gives 1280, 0 gives 256).
int background_extent(int client_extent);

// When the background needs a new picture, and of what size. The picture is
// made anew only when the client area outgrows it, the style or colour
// changes, or a redraw is forced. A new picture keeps the old size along an
// axis the client area has not outgrown and is otherwise sized from the
// client area, so it never exceeds the largest client area seen, rounded.
class background_sizing {
public:
    // Returns true when a new picture is due; width() and height() are then its size.
    bool update(int force, int client_width, int client_height, int style, int color_code);
    // Both -1 before the first picture.
    int width() const { return width_; }
    int height() const { return height_; }

private:
    bool still_fits(int client_width, int client_height, int style, int color_code) const;

    int width_ = -1;
    int height_ = -1;
    int prev_bgstyle = 0;
    int prev_bgcolor = 0;
};

// The picture itself, which the main frame blits behind its panels.
class vusk_background {
public:
    vusk_background();
    ~vusk_background();
    vusk_background(const vusk_background &) = delete;
    vusk_background &operator=(const vusk_background &) = delete;

    // Makes the picture fit the client area, style and colour; returns true
    // when it painted a new one.
    bool redraw_background(int force, int client_width, int client_height, int style,
                           int color_code, const vusk_color *theme);

    // Null until the first redraw.
    const vusk_bitmap *bitmap() const { return bitmap_.get(); }
    int width() const { return sizing_.width(); }
    int height() const { return sizing_.height(); }

private:
    background_sizing sizing_;
    std::unique_ptr<vusk_bitmap> bitmap_;
};

#endif
