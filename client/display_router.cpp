#include "display_router.h"

#include "client_messages.h"
#include "connection.h"
#include "frame_windows.h"
#include "tqconfig.h"
#include "vusk_channel_window.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"
#include "vusk_popup_manager.h"

namespace {
const char missing_popup_message[] = "Sorry, no popup window by that name has been defined.\n";
}

void vusk_display_router::use_main_display()
{
    current_display_ = windows_.main_display();
}

// ---- Diversions ----

// A name that no popup has: the text stays in the main display.
void vusk_display_router::divert_to_missing_popup()
{
    vusk_main_window &main_display = *windows_.main_display();
    current_display_ = &main_display;
    main_display.reset_colors();
    main_display.write("\n");
    main_display.write(missing_popup_message);
    main_display.write("\n");
    main_display.refresh_text();
}

// A popup that text was diverted into shows what it has when the text goes
// elsewhere without an undivert first; otherwise it would stay frozen.
void vusk_display_router::leave_diverted_display()
{
    if (current_display_ != windows_.main_display())
        current_display_->resume_updates();
}

void vusk_display_router::divert(const char *name)
{
    leave_diverted_display();
    vusk_ansi_display *popup = windows_.popup_manager()->find_display(name);
    if (popup == nullptr) {
        divert_to_missing_popup();
        return;
    }
    current_display_ = popup;
    popup->suspend_updates();
    popup->clear_scrollback();
}

void vusk_display_router::append(const char *name)
{
    leave_diverted_display();
    vusk_ansi_display *popup = windows_.popup_manager()->find_display(name);
    if (popup == nullptr)
        divert_to_missing_popup();
    else
        current_display_ = popup;
}

void vusk_display_router::undivert()
{
    current_display_->refresh_text();
    const int scroll_position = current_display_->get_scroll_position();
    current_display_->resume_updates();
    current_display_->disable_and_set_scroll_position(scroll_position);
    use_main_display();
}

void vusk_display_router::unappend()
{
    current_display_->refresh_text();
    current_display_->scroll_to_bottom();
    use_main_display();
}

void vusk_display_router::color_flash(const char *arguments)
{
    current_display_->textctrl().parse_colorflash(arguments);
}

void vusk_display_router::forget_display(vusk_ansi_display *display)
{
    if (current_display_ == display)
        use_main_display();
}

// ---- The main display and the channels ----

void vusk_display_router::write_local_echo(const char *text)
{
    const bool separator = TConfig::Instance()->GetCommandSeparator() != 0;
    show_styled(*windows_.main_display(), local_echo_text(text, separator));
}

void vusk_display_router::clear_channels()
{
    connection_.tag_dispatcher().channel_undivert();
    windows_.channel_window()->clear();
}

// ---- The stream parser's text ----

void vusk_display_router::clear_all_displays_changed_flag()
{
    windows_.main_display()->clear_changed();
    windows_.channel_window()->clear_all_displays_changed_flag();
}

void vusk_display_router::update_all_displays_changed_flag()
{
    vusk_main_window &main_display = *windows_.main_display();
    if (main_display.changed())
        main_display.refresh_text();
    windows_.channel_window()->update_all_displays_changed_flag();
}

void vusk_display_router::display_socket_data(const char *text, int length)
{
    const TConfig &config = *TConfig::Instance();
    const text_route route =
        connection_.tag_dispatcher().route_text(config.GetChannelWindow() != 0, config.GetChannelDupe() != 0);
    if (route.channel)
        windows_.channel_window()->display_socket_data(text, length);
    if (route.current)
        current_display_->display_socket_data(text, length);
    else if (route.main)
        windows_.main_display()->display_socket_data(text, length);
}

void vusk_display_router::enable_local_echo()
{
    windows_.input_window()->line_edit.enable_echo();
}

// Once logged in the player is past the password prompt; a server asking
// again must not blank the command line.
void vusk_display_router::disable_local_echo()
{
    if (!connection_.logged_in())
        windows_.input_window()->line_edit.disable_echo();
}

void vusk_display_router::ring_bell()
{
    wxBell();
}
