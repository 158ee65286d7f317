#ifndef VUSK_DIRECTION_BUTTONS_H
#define VUSK_DIRECTION_BUTTONS_H

// The direction pad: eleven movement buttons on the main frame, the compass
// in three rows under Dn and Up. The server enables and disables them and
// highlights the exits of the room ("dirs"); Out is always highlighted.

#include "button_row_layout.h"
#include "tag_owners.h"
#include "vusk_transparent_window.h"

#include <array>

class vusk_command_button;
class wxWindow;

class vusk_direction_buttons : public vusk_transparent_window, public direction_pad_tag_owner {
public:
    // Creates the buttons on `parent`; the id is not used.
    vusk_direction_buttons(wxWindow *parent, int id);

    // Labels and commands; all disabled, Out highlighted.
    void initial_setup();

    void enable() override;
    void disable() override;
    // Highlights each button whose exit is in the mask (N 1, NE 2, E 4, SE 8,
    // S 16, SW 32, W 64, NW 128, Up 256, Dn 512) and plains the others; Out
    // stays highlighted.
    void enable(int exit_mask) override;

    int get_min_xsize() const { return direction_pad_width; }
    int get_min_ysize() const { return direction_pad_height; }

    void show_handler(int shown) override;
    void resize() override;
    void change_theme() override;

    vusk_command_button *button(direction_pad_button which) const { return buttons[which]; }

private:
    void set_all_enabled(int enabled);

    std::array<vusk_command_button *, direction_pad_button_count> buttons{};
};

#endif
