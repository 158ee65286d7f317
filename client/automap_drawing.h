#ifndef VUSK_AUTOMAP_DRAWING_H
#define VUSK_AUTOMAP_DRAWING_H

// The automap's pictures without a window: the map drawn from its grid into
// an off-screen picture, and what the map window shows over that picture
// (the player marker, the zoom frames, the compass), with the arithmetic of
// the window and panel sizes and of the compass.
//
// Every decoration that looks random (speckles, the wobble of roads and
// trails) comes from the painter's own generator, seeded from room ids, so a
// map always draws the same pixels on every machine.

#include "automap_model.h"
#include "nrandom.h"
#include "pixel_view.h"
#include "vusk_color.h"

#include <wx/gdicmn.h>

#include <array>
#include <cstdint>
#include <vector>

// Sizes in pixels for a cell size.
inline int automap_window_size(int cell_size) { return 18 * cell_size + 3; }
inline int automap_bitmap_size(int cell_size) { return 23 * cell_size; }

// The panel: a caption strip and a separator line above the map window, and
// a one-pixel border around everything.
constexpr int automap_caption_rows = 20;
constexpr int automap_separator_row = 21;
constexpr int automap_map_top = 22;
constexpr int automap_min_caption_x = 5;
constexpr int automap_area_name_x = 4;

wxSize automap_panel_size(int cell_size);
// Where the centred caption starts in a panel `panel_width` wide, for a text
// `text_width` wide, and the caption's text row for a text `text_height` high.
int automap_caption_x(int panel_width, int text_width);
int automap_caption_y(int text_height);

// A picture in plain memory, opaque black when made.
class automap_canvas {
public:
    automap_canvas(int width, int height);
    automap_canvas(const automap_canvas &) = delete;
    automap_canvas &operator=(const automap_canvas &) = delete;

    pixel_view &view() { return view_; }
    const pixel_view &view() const { return view_; }

private:
    std::vector<unsigned char> bytes_;
    pixel_view view_;
};

// The colours of a terrain code; codes without a colour of their own are grey.
void get_terrain_color(vusk_color &dark, vusk_color &base, vusk_color &light, int code);

// The generator of the decorations: the same seed gives the same sequence
// everywhere.
class automap_random {
public:
    void srand(uint32_t seed) { generator_.init(seed); }
    // 0..2^31-1.
    int rand() { return int(generator_.iterate() >> 1); }

private:
    NRandom generator_;
};

// The wobble of roads and trails: states 0..6, one step per pixel.
int o2_modify(int state, automap_random &random);
// Where a wobble state puts a pixel across the centre line: +1, 0 or -1.
int wobble_shift(int state);

// Draws the whole map of `grid` into `view` (at least 23 cells and a pixel
// square), as the renderer's redraw does after clearing it black: rooms,
// corner fills, roads and trails, markers, walls and doors.
void draw_automap(pixel_view &view, const automap_grid &grid, int cell_size);

// What the map window shows. W is half the window size.
// The map picture drawn displaced by minus the offset.
void paint_map_picture(pixel_view &window, const pixel_view &map, int cell_size, map_offset offset);
// White, or the colour that stands out from the terrain of the player's room.
vusk_color player_marker_color(const automap_grid &grid);
void draw_player_marker(pixel_view &window, int cell_size, const vusk_color &colour);
// Black with three nested white squares, frame `counter` (1..9) of a zoom.
void draw_zoom_frames(pixel_view &window, int cell_size, int counter);

// Compass sectors.
enum compass_sector {
    sector_none = 0,
    sector_east = 1,
    sector_south_east = 2,
    sector_south = 3,
    sector_south_west = 4,
    sector_west = 5,
    sector_north_west = 6,
    sector_north = 7,
    sector_north_east = 8,
    sector_down = 9,
    sector_up = 10,
};
constexpr int compass_target_count = 10;

struct compass_target {
    int sector;
    int exit_bit; // in the exit mask of the "dirs" message
    int x;        // the arrow's centre in the window
    int y;
    int angle; // degrees, clockwise from north
    int size;
    const char *label;
    const char *label_measure; // the text whose size centres the label
};

// The targets in the order they are drawn, for a window `window_size` square.
std::array<compass_target, compass_target_count> compass_targets(int window_size);

struct compass_colors {
    vusk_color outline;
    vusk_color label;
};
compass_colors compass_target_colors(const compass_target &target, int hover_sector, int exit_mask);
constexpr vusk_color compass_arrow_fill{32, 32, 32};

// The seven corners of an arrow around (0, 0), its tip toward `angle`.
std::array<wxPoint, 7> arrow_points(int angle, int size);
// One arrow with a black halo around its edges.
void draw_arrow(pixel_view &view, int x, int y, int angle, int size, const vusk_color &outline,
                const vusk_color &fill);
// The arrows of the compass; their labels are drawn with a font by the window.
void draw_compass_arrows(pixel_view &window, int window_size, int hover_sector, int exit_mask);

// The compass sector under a window position.
int calc_mouseover_sector(int x, int y, int window_size, int cell_size);
// The walking command of a sector; null for sector 0 and anything unknown.
const char *compass_command(int sector);

#endif
