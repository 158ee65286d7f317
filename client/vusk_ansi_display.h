#ifndef VUSK_ANSI_DISPLAY_H
#define VUSK_ANSI_DISPLAY_H

// The terminal window: server text with ANSI colours goes into its scrollback,
// every coloured run is recorded so that all of it can be drawn again or saved,
// and the view follows new text or stays frozen (shown by a red frame).

#include "ansi_parser.h"
#include "ansi_view_state.h"
#include "wheel_steps.h"
#include "debug_fill.h"
#include "render_list.h"
#include "util.h"
#include "vusk_ansi_scrollbar.h"
#include "vusk_embedded_window.h"
#include "vusk_textctrl.h"

#include <cstdio>

class vusk_font;

class vusk_ansi_display : public vusk_embedded_window,
                          public ansi_view_state,
                          private ansi_parser_sink,
                          private debug_fill_target {
public:
    vusk_ansi_display(wxWindow *parent, int id, const wxString &name);
    ~vusk_ansi_display() override;

    using vusk_embedded_window::SetSize;

    // Server text: colour escapes are applied; marks the display changed.
    void display_socket_data(const char *data, int length);
    // The client's own text, unchanged, in the current colour.
    void write(const char *text);
    // Straight into the scrollback, unrecorded.
    void write_direct(const char *text);
    // Two SGR codes as if received, e.g. 1 and '3' for bright yellow.
    void set_color(int first_code, int second_code);
    void reset_colors();
    void resync_colors();

    void clear_scrollback();
    // Draws everything recorded again.
    void rerender();
    void set_line_wrap_enable(int flag);
    // While suspended text is recorded but not drawn; resuming draws it all.
    void suspend_updates();
    void resume_updates();

    // Called with every complete line written; does nothing here.
    virtual void single_line_trigger(Buffer &line);
    void try_trigger_line(const char *text);
    void force_trigger_line();
    int trigger_pending();

    void set_scrollbar();
    int get_scroll_position();
    void handle_scroll_event(wxScrollEvent &event);
    void mouseWheelEvent(wxMouseEvent &event);
    void OnFocusGot(wxFocusEvent &event);

    void resize(int changed) override;
    void repaint_dc(vusk_bitmap &bitmap) override;
    int animation_callback(int milliseconds) override;
    int get_scrollbar_width();
    void set_scrollbar_enable(int flag);

    void set_initial_font(vusk_font *font);
    void change_font(vusk_font *font);
    void refresh();
    void refresh_text();
    void start_newbie_demo_mode_flashing();

    // Return whether every write succeeded.
    bool render_text_to_file(FILE *file);
    bool render_html_to_file(FILE *file);

    // "//debugfill": generated lines straight into the scrollback.
    static constexpr int debug_fill_lines = 100000;
    void generate_debug_fill_data(int lines = debug_fill_lines);

    // Every run recorded since the last clear, the pending one included.
    const render_list_recorder::records_type &render_list();
    // How much the display keeps (the default is far above a day's play).
    void set_scrollback_limit(const scrollback_limit &limit);

    vusk_textctrl &textctrl() { return textctrl_; }
    const vusk_textctrl &textctrl() const { return textctrl_; }
    vusk_ansi_scrollbar &scrollbar() { return scrollbar_; }
    bool scrollbar_enabled() const { return scrollbar_enabled_; }
    // Set by server text since the last clear_changed.
    bool changed() const { return changed_flag_; }
    void clear_changed() { changed_flag_ = false; }
    // Off for a display whose scrollback covers it whole, without a frame.
    void set_has_frame(bool framed) { has_frame_ = framed; }

protected:
    void open_url(const char *url) override;
    int visible_line_count() override;
    int last_line() override;
    bool top_anchored() override;
    void set_hold_view(bool hold) override;
    void show_line(int line) override;
    int show_scroll_position(int position) override;
    void update_scrollbar() override;
    void refresh_view() override;
    void following_changed() override;

private:
    void ansi_write(const char *text) override;
    void ansi_set_color(int rgb, int code, int attribute) override;
    int ansi_visible_lines() override;
    void debug_fill_color(const vusk_color &text, const vusk_color &background) override;
    void debug_fill_append(const char *text) override;

    // Records a colour change and applies it unless updates are suspended.
    void set_color(int rgb, int code, int attribute);
    void set_color_direct(int rgb, int attribute);
    void reapply_current_color();
    void append_to_trigger_line(const char *bytes, size_t length);
    void record_and_draw(const char *text);
    void follow_dropped_lines();

    vusk_textctrl textctrl_;
    Buffer trigger_line_;
    vusk_ansi_scrollbar scrollbar_;
    bool scrollbar_enabled_ = true;
    bool changed_flag_ = false;
    bool updates_suspended_ = false;
    bool has_frame_ = true;
    ansi_parser parser;
    render_list_recorder recorder;
    wheel_accumulator wheel;
    int store_trims_seen = 0;

    wxDECLARE_EVENT_TABLE();
};

#endif
