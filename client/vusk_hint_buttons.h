#ifndef VUSK_HINT_BUTTONS_H
#define VUSK_HINT_BUTTONS_H

// The hint buttons: a column of twelve command buttons on the main frame
// whose labels and commands the server sets ("b1" to "b12") and clears
// ("bclear"). Only buttons with a command show; each run of consecutive ones
// starts a little lower. While disconnected, "Connect" and "Quit" show.
// A hidden column keeps its buttons and places them again when shown.

#include "tag_owners.h"
#include "vusk_transparent_window.h"

#include <array>

class vusk_command_button;
class wxWindow;

class vusk_hint_buttons : public vusk_transparent_window, public hint_button_tag_owner {
public:
    // Creates the buttons on `parent`, disabled and empty; the id is not used.
    vusk_hint_buttons(wxWindow *parent, int id);

    // "b<number>": the first line of data is the label, the rest the
    // command; without a command the button is blanked. Tags with a 't'
    // after the number are not for this column.
    void setup_button(int number, const char *tag, const char *data) override;
    // "bclear".
    void clear() override;
    // Blanks every button (on connect and disconnect).
    void disable_cmd_buttons();
    // "Connect" and "Quit", for the disconnected client; placed by the next
    // resize.
    void enable_disconnected_buttons();
    // Flashes every button's border, shown or not.
    void start_newbie_demo_mode_flashing();

    void show_handler(int shown) override;
    void resize() override;
    void change_theme() override;
    // Places the buttons that have a command and hides the others.
    void resize_lower();

    // Button 1 to 12.
    vusk_command_button *button(int number) const { return buttons[number - 1]; }

private:
    std::array<vusk_command_button *, hint_button_count> buttons{};
};

#endif
