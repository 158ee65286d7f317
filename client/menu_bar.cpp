// The menu bar's handlers that need no item table: connecting, the log, the
// fonts, the automap's place and size, the help texts.
#include "menu_bar.h"

#include "ansi_palette.h"
#include "command_line.h"
#include "global_fonts.h"
#include "log_export.h"
#include "main.h"
#include "menus.h"
#include "socket.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "vusk_font.h"
#include "vusk_main_window.h"

#include <wx/filedlg.h>
#include <wx/fontdlg.h>

#include <algorithm>
#include <cstdio>

namespace {

const char separator_line[] = "\n-----------------------------------------------------";

// The dialog's choice, or nothing when it was cancelled.
bool choose_font(wxWindow *parent, const wxFont &initial, wxFont *chosen)
{
    wxFontData data;
    data.SetInitialFont(initial);
    wxFontDialog dialog(parent, data);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    *chosen = dialog.GetFontData().GetChosenFont();
    // The configuration files keep sizes within this range.
    chosen->SetPointSize(std::clamp(chosen->GetPointSize(), smallest_zoom, font_size_max));
    return true;
}

} // namespace

void vusk_menu_bar::write_framed(const std::string &text)
{
    frame_.display_set_default_colors();
    frame_.display_write(text.c_str());
    frame_.main_display_->refresh_text();
}

void vusk_menu_bar::menu_file_connect()
{
    if (frame_.connected())
        write_framed("\nYou are already connected to the server.\n");
    else
        frame_.handle_async_control_command("connect", 0);
    frame_.main_display_->refresh_text();
}

void vusk_menu_bar::menu_file_disconnect()
{
    if (!frame_.connected())
        write_framed("\nYou are not connected to the server.\n");
    else if (frame_.logged_in())
        frame_.verify_disconnect();
    else
        frame_.handle_async_control_command("//disconnect", 0);
    frame_.main_display_->refresh_text();
}

// The channels go too (a channel message in progress ends first).
void vusk_menu_bar::menu_view_clear_scrollback()
{
    frame_.clear_channels();
    frame_.main_display_->clear_scrollback();
    write_framed("\n\nScrollback cleared.\n\n");
}

void vusk_menu_bar::change_font_colours(int code, const char *word)
{
    TConfig::Instance()->SetFontColors(code);
    select_ansi_palette(code);
    write_framed(std::string("\n\nFuture text will now use ") + word + " ansi colors.\n\n");
}

void vusk_menu_bar::open_web_page(const std::string &url, const std::string &message)
{
    if (frame_.http_fork(url.c_str()))
        write_framed("\n" + message + "\n");
}

void vusk_menu_bar::send_help_command(const char *command)
{
    if (frame_.connected() && frame_.logged_in()) {
        frame_.connection_.send(command);
        return;
    }
    const char *apology = frame_.connected() ? "\nSorry, but in-game help isn't available until after you have logged in."
                                      : "\nYou must be connected to the server to view the in-game help.";
    write_framed(std::string(separator_line) + apology +
                 "\n(The on-line help is the same, you could try there instead.)" + separator_line + "\n");
}

void vusk_menu_bar::set_text_font_size(int points)
{
    global_font_size = points;
    global_font->SetPointSize(points);
    frame_.main_display_->enable_scrolling();
    frame_.global_font_resync();
}

void vusk_menu_bar::menu_view_automap_docked()
{
    TConfig &config = *TConfig::Instance();
    if ((config.GetAutomapEnable() & 1) == 0) {
        config.SetAutomapEnable(config.GetAutomapEnable() | 1);
        frame_.set_automap_display_enable(1);
    }
    config.SetAutomapDocked(toggled(config.GetAutomapDocked()));
    show_setting(menu_setting::automap_docked, config.GetAutomapDocked());
    frame_.set_automap_dock_state();
    frame_.resize();
    frame_.Refresh(true);
}

void vusk_menu_bar::set_map_size(int cell_size)
{
    TConfig::Instance()->SetAutomapSize(cell_size);
    frame_.set_automap_size(TConfig::Instance()->GetAutomapSize());
    frame_.resize();
    frame_.Refresh(true);
}

void vusk_menu_bar::menu_view_change_font()
{
    wxFont chosen;
    if (!choose_font(&frame_, *global_font, &chosen))
        return;
    global_font_size = chosen.GetPointSize();
    global_font->bulk_change_font(chosen);
    frame_.global_font_resync();
}

void vusk_menu_bar::menu_view_change_button_font()
{
    wxFont chosen;
    if (!choose_font(&frame_, *global_button_small_font, &chosen))
        return;
    global_button_small_font->bulk_change_font(chosen);
    chosen.SetPointSize(chosen.GetPointSize() + large_button_font_step);
    global_button_large_font->bulk_change_font(chosen);
    frame_.button_font_resync();
}

void vusk_menu_bar::menu_file_logfile_save()
{
    wxFileDialog dialog(&frame_, wxS("Save Logfile"), wxString(), wxString(),
                        wxS("Save as HTML|*.html|Save as Plain Text|*.txt"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT,
                        wxDefaultPosition, wxDefaultSize, wxS("filedlg"));
    if (dialog.ShowModal() != wxID_OK)
        return;
    frame_.save_logfile(dialog.GetPath(), dialog.GetFilterIndex() != 0);
}

std::string vusk_menu_bar::logfile_saving_text(const wxString &path, bool plain_text)
{
    const std::string name = wx_to_bytes(path);
    if (path.empty())
        return "\n\nError - unable to open file, no name specified?";
    FILE *file = wxFopen(path, wxS("wb"));
    if (file == nullptr)
        return "\n\nError - unable to open file '" + name + "'.\nLogfile was not saved!\n\n";
    const bool written = plain_text ? frame_.main_display_->render_text_to_file(file)
                                    : frame_.main_display_->render_html_to_file(file);
    if (fclose(file) != 0 || !written)
        return "\n\nError - writing file '" + name + "' failed.\nLogfile was not saved completely!\n\n";
    return std::string(plain_text ? "\n\nPlain text log saved to file '" : "\n\nHTML log saved to file '") + name +
           "'.\n\n";
}

void vusk_menu_bar::menu_help_about()
{
    frame_.display_set_default_colors();
    frame_.display_write((std::string("\n") + separator_line + "\nVarn Ossic MUD Client Version " + client_version +
                   "\n\nConfig directory: " + global_config_directory_path + "\n" +
                   "\nThe game's web site: " + web_page_url("/") + separator_line + "\n")
                      .c_str());
    if (frame_.connected() && frame_.logged_in())
        frame_.connection_.send("version");
    else
        frame_.display_write("\nUnable to retrieve server version.");
    frame_.main_display_->refresh_text();
}

void vusk_menu_bar::menu_help_update()
{
    if (frame_.connected() && frame_.logged_in()) {
        frame_.connection_.send("update");
        return;
    }
    write_framed(std::string(separator_line) + "\nSorry, you must be logged in to check for updates." +
                 separator_line + "\n");
}
