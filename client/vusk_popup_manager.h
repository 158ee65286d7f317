#ifndef VUSK_POPUP_MANAGER_H
#define VUSK_POPUP_MANAGER_H

// The popup bar beside the function keys and the owner of every popup
// window the server defines ("window_create"). Each popup gets a toggle
// button, in the bar or, for a menu-only popup, nowhere but the Windows
// menu. Positions and sizes are kept by name in the current configuration
// record, so a popup of the same name opens where it was. All popups go when
// the connection ends.

#include "tag_owners.h"
#include "vusk_transparent_window.h"

class vusk_ansi_display;
class vusk_font;
class vusk_popup_button;
class vusk_popup_window;
class wxWindow;

class vusk_popup_manager : public vusk_transparent_window, public popup_tag_owner {
public:
    vusk_popup_manager(wxWindow *parent, int id);
    // The buttons are children of the parent, which must still exist.
    ~vusk_popup_manager() override;

    // "window_create": a malformed definition, a name already defined and
    // a definition beyond the cap are ignored.
    void create_window(const char *data) override;
    // By name, cut as names are on arrival; null when there is none.
    vusk_popup_window *find_window(const char *name) const;
    vusk_ansi_display *find_display(const char *name) const;
    // Counting from 1 along the bar (newest first), then the menu-only ones.
    void toggle_window(int position);
    void save_positions();
    void reset_positions();
    // Saves the positions and deletes every popup; nothing is sent.
    void clear();

    void show_handler(int shown) override;
    void resize() override;
    void change_theme() override;
    void change_button_font();
    void change_font(vusk_font *font);
    void start_newbie_demo_mode_flashing();

    vusk_popup_button *bar_buttons() const { return button_list; }
    int count() const;

private:
    template <class Action>
    void for_each_button(Action action) const;
    vusk_popup_button *find_button(const char *name) const;

    vusk_popup_button *button_list = nullptr;
    vusk_popup_button *menu_only_list = nullptr;
};

#endif
