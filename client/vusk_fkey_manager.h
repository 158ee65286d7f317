#ifndef VUSK_FKEY_MANAGER_H
#define VUSK_FKEY_MANAGER_H

// The function-key row: eight square keys F1 to F8 along the bottom of the
// main frame. The server labels them ("bf1" to "bf8"); they are enabled
// while logged in, so their labels show only then.

#include "tag_owners.h"
#include "vusk_transparent_window.h"

#include <array>

class vusk_fkey_button;
class wxWindow;

class vusk_fkey_manager : public vusk_transparent_window, public button_row_tag_owner {
public:
    // Creates the keys on `parent`, with the key numbers as their ids; the
    // id is not used.
    vusk_fkey_manager(wxWindow *parent, int id);

    // "bf<number>": the first non-empty line of data labels the key and
    // enables it; data of newlines alone clears it.
    void setup_button(int number, const char *tag, const char *data) override;
    void enable_buttons(bool on);
    // The width the row needs at height h.
    int calc_min_xsize(int h) const;

    void show_handler(int shown) override;
    void resize() override;
    void change_theme() override;

    // Key 1 to 8.
    vusk_fkey_button *key(int number) const { return keys[number - 1]; }

private:
    std::array<vusk_fkey_button *, fkey_button_count> keys{};
};

#endif
