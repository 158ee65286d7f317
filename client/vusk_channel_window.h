#ifndef VUSK_CHANNEL_WINDOW_H
#define VUSK_CHANNEL_WINDOW_H

// The tabbed channel window at the top of the main frame's text column. The
// server brackets each channel message with "chdiv" (naming the channel) and
// "chudiv"; the text between goes to that channel's tab and to "(all)". A
// tab that gets text while another is shown turns to its notify look. The
// tabs lie on two pages: the paging button in a tab moves it to the other
// page, the window's own flips the page shown, and each page remembers its
// shown tab. Until the first channel message a placeholder tab and text
// explain the window. Channels live until clear(), across disconnects.

#include "channel_tabs.h"
#include "tag_owners.h"
#include "vusk_transparent_window.h"

#include <memory>
#include <string>
#include <vector>

class vusk_ansi_display;
class vusk_channel_button;
class vusk_channel_display;
class vusk_channel_paging_button;
class vusk_font;

// One channel; the window owns it, its tab and its display.
struct channel_record {
    std::string name;
    vusk_channel_button *button = nullptr;
    vusk_channel_display *display = nullptr;
    int page = 0;
};

class vusk_channel_window : public vusk_transparent_window, public channel_tag_owner {
public:
    explicit vusk_channel_window(wxWindow *parent);
    ~vusk_channel_window() override;

    // "chdiv": "(all)" exists from the first one on; the named channel
    // receives text from now on (over the cap, "(all)" alone does).
    void set_divert_channel(const char *name) override;
    // "chudiv": no channel receives text.
    void clear_divert_channel() override;
    void display_socket_data(const char *text, int length);

    // Names longer than a channel's are cut before they are looked up.
    channel_record *find_channel(const char *name) const;
    // Null for a null name, and for a new channel over the cap while there
    // is no "(all)" to stand in.
    channel_record *find_or_create_channel(const char *name, int is_all);
    void switch_tab(const char *name);
    void do_page_flip();
    void find_default_display_channel();
    // A paging button was pressed: the window's own (no channel) flips the
    // page, a tab's moves that tab to the other page.
    void page_button_clicked(channel_record *channel);
    // Deletes every channel; the placeholders show again.
    void clear();
    // Places and shows the tabs of the channels created since the last call,
    // all at once: a burst of new channels costs one layout (the frame's
    // tick calls it).
    void place_new_channels();

    void change_font(vusk_font *font);
    void change_button_font();
    void set_current_channel_scrolling(int on);
    int current_channel_scrolling_enabled();
    void clear_mouse_selection();
    void update_all_displays_changed_flag();
    void clear_all_displays_changed_flag();

    void show_handler(int shown) override;
    void resize() override;
    void change_theme() override;

    const std::vector<std::unique_ptr<channel_record>> &channels() const { return channel_list; }
    channel_record *current() const { return current_channel; }
    channel_record *divert() const { return divert_channel; }
    int page() const { return current_page; }
    vusk_channel_button *placeholder_tab() const { return placeholder_button; }
    vusk_ansi_display *placeholder() const { return placeholder_display; }
    vusk_channel_paging_button *page_flipper() const { return paging_button; }
    // The display the player sees: the current channel's, or the
    // placeholder while the shown page has no tab.
    vusk_ansi_display *shown_display() const;

private:
    bool on_current_page(const channel_record *record) const;
    bool page_has_tabs() const;
    channel_record *create_channel(const std::string &name, int is_all);
    void write_channel_text(channel_record &channel, const char *text, int length);
    void destroy_channels();

    std::vector<std::unique_ptr<channel_record>> channel_list;
    channel_record *current_channel = nullptr;
    vusk_channel_button *placeholder_button = nullptr;
    vusk_ansi_display *placeholder_display = nullptr;
    channel_record *divert_channel = nullptr;
    channel_record *all_channel = nullptr;
    channel_record *other_page_channel = nullptr;
    int current_page = 0;
    vusk_channel_paging_button *paging_button = nullptr;
    bool new_channels = false;
};

#endif
