#ifndef VUSK_IMAGE_BUTTON_H
#define VUSK_IMAGE_BUTTON_H

// The base of every button the client draws itself. It shows one of five
// prepared images, chosen by its state (up, down, disabled) and by whether
// the pointer is over it. A press queues a button-clicked command event
// (id 0, the button as its object) on the button's own handler, so a
// subclass binds EVT_BUTTON(wxID_ANY, ...) and acts from the event loop,
// after the mouse handler has returned; the click (and its sound) comes with
// the press.
//
// A subclass paints the five images (paint_state_images does the common
// part from the button theme) and decides what a press does. In toggle mode
// every press flips the state between up and down; otherwise the state
// follows the left button. Disabled buttons ignore the mouse.

#include "button_images.h"
#include "vusk_embedded_window.h"

#include <array>
#include <functional>
#include <vector>

class pointer_spot;
class vusk_font;

class vusk_image_button : public vusk_embedded_window {
public:
    static constexpr int INITIAL_SIZE = 20;

    vusk_image_button(wxWindow *parent, int id);
    ~vusk_image_button() override;

    using vusk_embedded_window::SetSize;

    // Hiding the button forgets the pointer over it. Once the events queued
    // now are handled, a button moved or shown under a resting pointer is
    // hovered and one moved from under it is not.
    bool Show(bool show = true) override;
    void SetSize(int x, int y, int width, int height, int size_flags = wxSIZE_AUTO) override;
    void SetSize(int width, int height) override;
    int animation_callback(int milliseconds) override;
    void repaint_dc(vusk_bitmap &bitmap) override;

    void set_image_default(const vusk_bitmap &image);
    void set_image_default_hover(const vusk_bitmap &image);
    void set_image_clicked(const vusk_bitmap &image);
    void set_image_clicked_hover(const vusk_bitmap &image);
    void set_image_disabled(const vusk_bitmap &image);

    // button_up, button_down or button_disabled.
    void set_button_state(int state);
    int get_button_state() const { return button_state; }
    // Up when enabled, disabled otherwise.
    void set_enabled(int enabled);

    // Alternates a black and a white border for 16 steps of 200 ms, to show
    // a new player where the button is.
    void start_newbie_demo_mode_flashing();
    bool is_flashing() const { return flash_count > 0; }

    // Fills the bitmap with `fill` and draws a bevel of it; `second` is not
    // used.
    static void draw_button_background(vusk_bitmap &bitmap, const vusk_color &fill, const vusk_color &second,
                                       int bevel);
    // A two-pixel bevel of the colour c in a w by h area (button_bevel).
    static void draw_shading(vusk_bitmap &bitmap, int w, int h, const vusk_color &c, int bevel);
    // How many leading characters of `text` fit across a button w wide:
    // at least 1, at most 254; 0 for a null or empty text. h is not used.
    static int get_max_char_count(const vusk_font *font, const char *text, int w, int h);

    void mouse_event_handler(wxMouseEvent &event);

protected:
    // The images are painted again (paint_images) before the next paint
    // shows one: a label or highlight that changes many times between two
    // paints costs one painting.
    void images_changed();
    virtual void paint_images() {}
    // Paints the five images from the current button theme, in the order of
    // button_image_index, at the button's client size: background and bevel,
    // border, then `draw_text(bitmap, colour)` with the recipe's text colour
    // (null when the recipe shows no text).
    using text_painter = std::function<void(vusk_bitmap &bitmap, const vusk_color *colour)>;
    void paint_state_images(const button_image_recipes &recipes, const text_painter &draw_text);
    // After a press: the keyboard goes back to the main frame's command line
    // and the main display follows new text again.
    void hand_back_to_command_line();

    int toggle_mode = 0;

private:
    void set_image(button_image_index index, const vusk_bitmap &image);
    void follow_pointer_soon();
    void follow_pointer(pointer_spot &pointer);
    static void follow_pointer_all_waiting();
    void fire_click();

    std::array<vusk_bitmap, button_image_count> images;
    bool has_default_hover = false;
    bool has_clicked_hover = false;
    bool images_stale = false;
    bool waits_for_pointer = false;
    int button_state = button_up;
    bool hover = false;

    // The buttons moved or shown since the event loop last ran: they learn
    // together whether the pointer is over them.
    static std::vector<vusk_image_button *> waiting_for_pointer;

    wxDECLARE_EVENT_TABLE();
};

#endif
