#include "vusk_status_display.h"

#include "global_fonts.h"
#include "mouse_event_table.h"
#include "panel_tooltip.h"
#include "tqconfig.h"
#include "vusk_font.h"

#include <algorithm>
#include <array>

namespace {

constexpr vusk_color health_dark(128, 0, 0);
constexpr vusk_color health_bright(255, 32, 32);
constexpr vusk_color mana_dark(0, 64, 160);
constexpr vusk_color mana_bright(64, 96, 255);
constexpr vusk_color move_dark(160, 160, 0);
constexpr vusk_color move_bright(255, 255, 64);
constexpr vusk_color enemy_dark(128, 64, 32);
constexpr vusk_color enemy_bright(255, 128, 64);
constexpr int enemy_full_scale = 100; // the enemy's health comes in percent
constexpr int exp_first_shade = 48;
constexpr int exp_shade_step = 32;
constexpr int exp_last_shade = 192;
constexpr int exp_edge_lift = 96;

const char health_tip[] = "Your current health.";
const char mana_tip[] = "Your current mana.";
const char move_tip[] = "Your current movement.";
const char enemy_tip[] = "Your current enemy's health.";
const char exp_tip[] = "Your accumulated experience towards your next level.";

// One of the three player bars: which it is, its value, maximum, left edge
// and colours.
struct player_bar {
    int index;
    int value;
    int maximum;
    int x;
    vusk_color dark;
    vusk_color bright;
};

std::array<player_bar, player_bar_count> player_bars(const status_display_values &v, const status_display_geometry &g)
{
    return {{
        {bar_health, v.hp, v.hpmax, g.hp_x, health_dark, health_bright},
        {bar_mana, v.mana, v.manamax, g.mana_x, mana_dark, mana_bright},
        {bar_movement, v.move, v.movemax, g.move_x, move_dark, move_bright},
    }};
}

bool inside(int x, int y, int left, int top, int width, int height)
{
    return x >= left && x <= left + width && y >= top && y <= top + height;
}

vusk_color exp_shade(int layer)
{
    const int s = std::min(exp_first_shade + exp_shade_step * layer, exp_last_shade);
    return vusk_color(s, 0, s);
}

vusk_color exp_edge(int layer)
{
    const int s = std::min(exp_shade(layer).r + exp_edge_lift, 255);
    return vusk_color(s, 0, s);
}

} // namespace

wxBEGIN_EVENT_TABLE(vusk_status_display, vusk_status_display_base)
    VUSK_EVT_MOUSE_13(vusk_status_display::mouse_event_handler)
wxEND_EVENT_TABLE()

vusk_status_display::vusk_status_display(wxWindow *parent, int id, const wxString &name)
    : vusk_status_display_base(parent, id, name)
{
    reset();
}

void vusk_status_display::reset()
{
    reset_values();
    Hide();
}

void vusk_status_display::resize(int)
{
    const wxSize size = GetClientSize();
    status_display_switches on;
    on.hpbar = hpbar_enable != 0;
    on.exp = exp_display != 0;
    on.enemy = enemy_hpbar_enable != 0;
    compute_status_display_geometry(geometry_, size.GetWidth(), size.GetHeight(), on,
                                    [](const char *text, int *width, int *height) {
                                        global_button_large_font->GetTextSize(text, width, height);
                                    });
    repaint();
}

void vusk_status_display::repaint_dc(vusk_bitmap &bitmap)
{
    bitmap.Clear(vusk_BLACK);
    if (border_sides != 0)
        draw_bottom_mode_border(bitmap, bitmap.GetWidth(), bitmap.GetHeight());
    const status_display_geometry &g = geometry_;
    if (g.text_mode != text_none)
        draw_texts(bitmap);
    if (enemy_hpbar_enable) {
        const std::string text = " " + enemy_name;
        bitmap.RenderTextTransparent(*global_button_large_font, text.c_str(), g.hp_x + g.bar_width + 1,
                                     g.enemy_text_y, vusk_WHITE);
    }
    if (hpbar_enable)
        draw_hp_bars(bitmap);
    if (enemy_hpbar_enable)
        draw_large_bar(bitmap, g.hp_x - 1, g.enemy_row_y - 1, g.bar_width, g.bar_height,
                       bar_fill(enemy_percent, enemy_full_scale, g.bar_width), enemy_dark, enemy_bright);
    if (exp_display)
        draw_exp_layers(bitmap);
}

void vusk_status_display::draw_texts(vusk_bitmap &bitmap)
{
    const status_display_geometry &g = geometry_;
    const vusk_font &font = *global_button_large_font;
    if (hpbar_enable) {
        for (const player_bar &bar : player_bars(*this, g))
            bitmap.RenderTextTransparent(font, player_bar_text(bar.index, g.text_mode).c_str(),
                                         bar.x + g.bar_width + 1, g.hp_text_y, vusk_WHITE);
    }
    if (exp_display) {
        const int y = enemy_hpbar_enable ? g.enemy_text_y : g.hp_text_y;
        bitmap.RenderTextTransparent(font, exp_text(g.text_mode).c_str(), g.exp_x + g.bar_width + 1, y, vusk_WHITE);
    }
}

// Each bar, then a mark every 100 points: dots in the bar's colours above
// and below where the value has reached it, a white notch where it has not.
// A column that holds marks of both kinds shows both, the notch drawn last
// as the larger marks come later.
void vusk_status_display::draw_hp_bars(vusk_bitmap &bitmap)
{
    const status_display_geometry &g = geometry_;
    const int middle = g.hp_row_y + g.bar_height / 2;
    for (const player_bar &bar : player_bars(*this, g)) {
        draw_large_bar(bitmap, bar.x - 1, g.hp_row_y - 1, g.bar_width, g.bar_height,
                       bar_fill(bar.value, bar.maximum, g.bar_width), bar.dark, bar.bright);
        for (const tick_mark_column &column : tick_mark_columns(bar.maximum, g.bar_width)) {
            const int x = bar.x + column.offset;
            if (bar.value >= column.first_mark) {
                bitmap.DrawPixel(x, g.hp_row_y - 1, bar.bright);
                bitmap.DrawPixel(x, g.hp_row_y + g.bar_height + 1, bar.dark);
            }
            if (bar.value < column.last_mark)
                bitmap.DrawLine(x, middle + 1, x, middle - 1, vusk_WHITE);
        }
    }
}

// The largest level first; each smaller one is painted over it, so the
// levels show as lighter layers from the left.
void vusk_status_display::draw_exp_layers(vusk_bitmap &bitmap)
{
    const status_display_geometry &g = geometry_;
    draw_large_bar_bounds(bitmap, g.exp_x - 1, g.enemy_row_y - 1, g.bar_width, g.bar_height);
    const int top = g.enemy_row_y;
    const int bottom = g.enemy_row_y + g.bar_height - 1;
    for (int layer = 0; layer < xp_percentage_count && exp[layer] != 0; ++layer) {
        const int width = bar_fill(exp[layer], exp_full_scale, g.bar_width);
        if (width <= 0)
            continue;
        const int right = g.exp_x + width - 1;
        bitmap.DrawFilledRectangle(g.exp_x, top, right, bottom, exp_shade(layer));
        bitmap.DrawLine(g.exp_x, top, right, top, exp_edge(layer));
        bitmap.DrawLine(g.exp_x, bottom, right, bottom, exp_edge(layer));
    }
}

const char *vusk_status_display::tooltip_at(int x, int y) const
{
    const status_display_geometry &g = geometry_;
    const int w = g.bar_width, h = g.bar_height;
    if (hpbar_enable) {
        if (inside(x, y, g.hp_x, g.hp_row_y, w, h))
            return health_tip;
        if (inside(x, y, g.mana_x, g.hp_row_y, w, h))
            return mana_tip;
        if (inside(x, y, g.move_x, g.hp_row_y, w, h))
            return move_tip;
    }
    if (enemy_hpbar_enable && inside(x, y, g.hp_x, g.enemy_row_y, w, h))
        return enemy_tip;
    if (exp_display && inside(x, y, g.exp_x, g.enemy_row_y, w, h))
        return exp_tip;
    return "";
}

void vusk_status_display::mouse_event_handler(wxMouseEvent &event)
{
    show_panel_tooltip(this, tooltip_, tooltip_at(event.GetX(), event.GetY()));
}

void vusk_status_display::show_per_settings()
{
    const TConfig &config = *TConfig::Instance();
    Show(config.GetEnemyHpbarEnable() || config.GetHpbarEnable() || config.GetExpDisplay());
}

void vusk_status_display::display_hp(const hp_values &values)
{
    if (store_hp(values) && hpbar_enable)
        schedule_repaint();
}

void vusk_status_display::display_enemy_hp(const enemy_hp &enemy)
{
    const bool changed = store_enemy(enemy);
    if (enemy.name == nullptr)
        return;
    if (changed && enemy_hpbar_enable)
        schedule_repaint();
    show_per_settings();
}

void vusk_status_display::clear_enemy_hp()
{
    clear_enemy();
    if (TConfig::Instance()->GetEnemyHpbarEnable())
        schedule_repaint();
    else
        enemy_hpbar_enable = 0;
}

void vusk_status_display::display_xp_percentages(const xp_percentages &xp)
{
    if (store_xp(xp) && TConfig::Instance()->GetExpDisplay())
        schedule_repaint();
}
