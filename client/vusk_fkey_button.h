#ifndef VUSK_FKEY_BUTTON_H
#define VUSK_FKEY_BUTTON_H

// One square key of the function-key row: its name ("F3") in the top-left
// corner and the label the server gave it wrapped into two lines below.
// A press sends the key's alias ("f03") while logged in, without the local
// echo, and gives the keyboard back to the command line. A key that is not
// enabled (logged out, or no label yet) shows no label and plainer colours
// but still sends its alias while logged in.

#include "button_label.h"
#include "vusk_image_button.h"

#include <string>

class vusk_fkey_button : public vusk_image_button {
public:
    vusk_fkey_button(wxWindow *parent, int key_number);

    // Label of at most 400 characters (null is empty); `flag` is not used.
    void setup(const char *label, int flag, int enabled);
    void clear();
    void set_enable(int on);
    int is_enabled() const { return enabled; }
    const char *get_name() const { return name; }
    const char *get_command() const { return command; }
    const fkey_label_lines &label_lines() const { return lines; }

    // Wraps the label again for the new size and repaints the images.
    void resize(int changed) override;
    // The images are painted again before the key next shows one.
    void redraw_bitmaps();
    void construct_formatted_display_string(const char *label);

    // The key name in white, small font, at (2, 2); returns the y of the
    // first label line.
    int draw_button_fkey_string(vusk_bitmap &bitmap);
    void draw_button_text(vusk_bitmap &bitmap, int y, const vusk_color &colour);

    void clicked_handler(wxCommandEvent &event);

protected:
    void paint_images() override;

private:
    char name[button_text_max + 1] = "";
    char command[button_text_max + 1] = "";
    int enabled = 0;
    int key_number;
    std::string fkey_string;
    fkey_label_lines lines;

    wxDECLARE_EVENT_TABLE();
};

#endif
