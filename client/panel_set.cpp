#include "panel_set.h"

#include "borders.h"
#include "mw_layout.h"
#include "tag_owners.h"
#include "tqconfig.h"
#include "vusk_automap.h"
#include "vusk_automap_outer.h"
#include "vusk_channel_window.h"
#include "vusk_direction_buttons.h"
#include "vusk_fkey_manager.h"
#include "vusk_group_display.h"
#include "vusk_hint_buttons.h"
#include "vusk_main_window.h"
#include "vusk_popup_manager.h"
#include "vusk_status_bar.h"
#include "vusk_status_display.h"

#include <algorithm>
#include <climits>

namespace {

// A holder is shown first: showing lays out its children, and the hint
// buttons place nothing while hidden.
void place_holder(vusk_transparent_window &holder, const panel_placement &placement)
{
    if (placement.visibility != panel_visibility::unchanged)
        holder.Show(placement.visibility == panel_visibility::show ? 1 : 0);
    if (placement.placed)
        holder.SetSize(placement.x, placement.y, placement.width, placement.height);
}

} // namespace

vusk_panel_set::vusk_panel_set() = default;
vusk_panel_set::~vusk_panel_set() = default;

void vusk_panel_set::build(wxWindow &frame, vusk_main_window &main_display)
{
    frame_ = &frame;
    main_display_ = &main_display;
    build_button_rows();
    popup_manager_ = std::make_unique<vusk_popup_manager>(frame_, wxID_ANY);
    channel_window_ = std::make_unique<vusk_channel_window>(frame_);
    build_status_panels();
    build_automap();
}

void vusk_panel_set::build_button_rows()
{
    direction_buttons_ = std::make_unique<vusk_direction_buttons>(frame_, wxID_ANY);
    hint_buttons_ = std::make_unique<vusk_hint_buttons>(frame_, wxID_ANY);
    fkey_manager_ = std::make_unique<vusk_fkey_manager>(frame_, wxID_ANY);
    direction_buttons_->initial_setup();
}

void vusk_panel_set::build_status_panels()
{
    group_display_ = new vusk_group_display(frame_, wxID_ANY, wxS("main group display"));
    main_display_->set_group_overlay(group_display_);
    status_display_ = new vusk_status_display(frame_, wxID_ANY, wxS("main status display"));
    status_display_->border_sides = BORDER_ALL;
    status_bar_ = new vusk_status_bar(frame_, wxID_ANY, wxS("main status bar"));
}

// Its own frame first, then the panel, which starts out in the main frame.
void vusk_panel_set::build_automap()
{
    global_automap_frame = new vusk_automap_frame(frame_, wxID_ANY, wxS("Varn Ossic Map"));
    automap_display_ = new vusk_automap_display(frame_, wxID_ANY, wxS("main automap"));
    main_display_->set_automap_overlay(automap_display_);
    global_automap_display = automap_display_;
}

void vusk_panel_set::register_tag_owners(tag_owners &owners) const
{
    owners.automap = automap_display_;
    owners.direction_pad = direction_buttons_.get();
    owners.hint_buttons = hint_buttons_.get();
    owners.fkey_row = fkey_manager_.get();
    owners.popups = popup_manager_.get();
    owners.channels = channel_window_.get();
    owners.status_display = status_display_;
    owners.status_bar = status_bar_;
    owners.group_display = group_display_;
}

mw_panel_sizes vusk_panel_set::panel_sizes() const
{
    mw_panel_sizes sizes;
    sizes.pad_width = direction_buttons_->get_min_xsize();
    sizes.pad_height = direction_buttons_->get_min_ysize();
    sizes.fkey_width = fkey_manager_->calc_min_xsize(mw_bottom_row_height);
    sizes.automap_width = automap_display_->get_x_size();
    sizes.automap_height = automap_display_->get_y_size();
    sizes.group_height = group_display_->get_ysize();
    return sizes;
}

void vusk_panel_set::place(const mw_layout &layout)
{
    place_automap(layout);
    place_button_rows(layout);
    place_holder(*popup_manager_, layout.popup_bar);
    place_holder(*channel_window_, layout.channel_window);
    place_status_panels(layout);
}

// In the embedded layout the main display places the docked panel itself.
void vusk_panel_set::place_automap(const mw_layout &layout)
{
    if (layout.automap_frame_client.placed)
        global_automap_frame->SetClientSize(layout.automap_frame_client.width, layout.automap_frame_client.height);
    place_panel(automap_display_, layout.automap);
}

void vusk_panel_set::place_button_rows(const mw_layout &layout)
{
    place_holder(*direction_buttons_, layout.direction_pad);
    place_holder(*hint_buttons_, layout.hint_buttons);
    place_holder(*fkey_manager_, layout.fkey_row);
}

void vusk_panel_set::place_status_panels(const mw_layout &layout)
{
    const TConfig &config = *TConfig::Instance();
    if (layout.group_display.placed) {
        place_panel(group_display_, layout.group_display);
        group_display_->repaint();
    }
    place_panel(status_bar_, layout.status_bar);
    show_configured_status_bars(config);
    place_panel(status_display_, layout.status_display);
}

// ---- A session's beginning and end ----

void vusk_panel_set::show_after_login()
{
    fkey_manager_->enable_buttons(true);
    const TConfig &config = *TConfig::Instance();
    show_status_bar(config.GetStatusBar() != 0);
    show_sky_bar(config.GetSkyBar() != 0);
    show_status_display(config.GetEnemyHpbarEnable() || config.GetHpbarEnable() || config.GetExpDisplay());
    show_configured_status_bars(config);
}

// Which bars the status display draws.
void vusk_panel_set::show_configured_status_bars(const TConfig &config)
{
    status_display_->hpbar_enable = config.GetHpbarEnable() != 0;
    status_display_->exp_display = config.GetExpDisplay() != 0;
    status_display_->enemy_hpbar_enable = config.GetEnemyHpbarEnable() != 0;
}

void vusk_panel_set::reset_status_panels()
{
    status_bar_->reset();
    status_display_->reset();
    status_display_->repaint();
    group_display_->reset();
}

// The map, the pad and the session's popups go.
void vusk_panel_set::end_session()
{
    automap_display_->full_clear();
    set_button_rows_disconnected();
    popup_manager_->clear();
}

// Logged out: the pad waits for the next room, the function keys hide their
// labels until the next login, and the hint column offers Connect and Quit.
void vusk_panel_set::set_button_rows_disconnected()
{
    fkey_manager_->enable_buttons(false);
    direction_buttons_->disable();
    hint_buttons_->disable_cmd_buttons();
    hint_buttons_->enable_disconnected_buttons();
}

// ---- Themes, fonts, repaints ----

void vusk_panel_set::change_themes()
{
    automap_display_->change_theme();
    hint_buttons_->change_theme();
    direction_buttons_->change_theme();
    fkey_manager_->change_theme();
    popup_manager_->change_theme();
    channel_window_->change_theme();
    status_display_->change_theme();
    group_display_->repaint();
}

void vusk_panel_set::change_text_font(vusk_font *font)
{
    channel_window_->change_font(font);
    popup_manager_->change_font(font);
    automap_display_->change_font();
}

void vusk_panel_set::change_button_font()
{
    automap_display_->change_button_font();
    channel_window_->change_button_font();
    popup_manager_->change_button_font();
    hint_buttons_->change_theme();
    fkey_manager_->change_theme();
    status_display_->change_button_font();
    status_bar_->change_button_font();
    group_display_->change_button_font();
}

void vusk_panel_set::flush_repaints()
{
    status_display_->flush_repaint();
    status_bar_->flush_repaint();
}

void vusk_panel_set::record_ping_time(long elapsed_ms)
{
    status_bar_->record_ping_time(int(std::min<long>(elapsed_ms, INT_MAX)));
    status_bar_->schedule_repaint();
}

// ---- The automap and the group display ----

void vusk_panel_set::set_automap_dock_state()
{
    const TConfig &config = *TConfig::Instance();
    const bool enabled = config.GetAutomapEnable() != 0;
    automap_display_->Show(enabled);
    if (!config.GetAutomapDocked()) {
        automap_display_->Reparent(global_automap_frame);
        automap_display_->SetSize(0, 0, automap_display_->get_x_size(), automap_display_->get_y_size());
        global_automap_frame->Show(enabled);
        global_automap_frame->Refresh();
        return;
    }
    const bool embedded = !is_left_layout(config.GetLayout());
    automap_display_->Reparent(embedded ? static_cast<wxWindow *>(&main_display_->textctrl()) : frame_);
    global_automap_frame->Hide();
}

void vusk_panel_set::enable_automap()
{
    const TConfig &config = *TConfig::Instance();
    if (!config.GetAutomapEnable()) {
        automap_display_->Hide();
        global_automap_frame->Hide();
        return;
    }
    if (!config.GetAutomapDocked())
        global_automap_frame->Show();
    automap_display_->Show();
    // The caption follows the login.
    automap_display_->repaint();
}

void vusk_panel_set::set_automap_size(int cell_size)
{
    automap_display_->set_size(cell_size);
}

void vusk_panel_set::set_group_display_dock_state()
{
    if (is_left_layout(TConfig::Instance()->GetLayout())) {
        group_display_->Reparent(frame_);
        group_display_->dock_state = dock_on_frame;
    } else {
        group_display_->Reparent(&main_display_->textctrl());
        group_display_->dock_state = dock_in_display;
    }
}

// ---- What the settings switch ----

void vusk_panel_set::repaint_status_bar()
{
    status_bar_->repaint();
}

void vusk_panel_set::show_status_bar(bool shown)
{
    status_bar_->Show(shown);
}

void vusk_panel_set::show_sky_bar(bool shown)
{
    status_bar_->sky_bar.Show(shown);
}

void vusk_panel_set::show_status_display(bool shown)
{
    status_display_->Show(shown);
}

void vusk_panel_set::set_status_display_part(status_display_part part, int value)
{
    switch (part) {
    case status_display_part::exp: status_display_->exp_display = value; break;
    case status_display_part::hpbar: status_display_->hpbar_enable = value; break;
    case status_display_part::enemy_hpbar: status_display_->enemy_hpbar_enable = value; break;
    }
}

void vusk_panel_set::hide_group_display()
{
    group_display_->Hide();
}

// Only a logged-in player has a channel window in the layout.
void vusk_panel_set::show_channel_window(bool shown, bool logged_in)
{
    channel_window_->Show(shown && logged_in ? 1 : 0);
}

void vusk_panel_set::flash_automap()
{
    automap_display_->start_newbie_demo_mode_flashing();
}

void vusk_panel_set::flash_hint_buttons()
{
    hint_buttons_->start_newbie_demo_mode_flashing();
}

void vusk_panel_set::flash_status_display()
{
    status_display_->start_newbie_demo_mode_flashing();
}

void vusk_panel_set::flash_popup_buttons()
{
    popup_manager_->start_newbie_demo_mode_flashing();
}
