#include "dialogs.h"

#include "vusk_mw_calls.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

constexpr int message_border = 10;
constexpr int bottom_spacer = 12;

const char quit_message[] =
    "You are currently connected to the game.\n\nIf possible, you should 'recall' and 'quit'\nto log "
    "off your character before quitting.\nOtherwise, your character may be stranded in\nthe game "
    "world without you controlling it.\n\nTo try to log off the game, click the 'Logoff' button.\nIf "
    "you really want to quit anyway, click 'Exit Program'.";

const char disconnect_message[] =
    "You are currently connected to the game.\n\nIf possible, you should 'recall' and 'quit'\nto log "
    "off your character instead of disconnecting.\nOtherwise, your character may be stranded in\nthe "
    "game world without you controlling it.\n\nTo try to log off the game, click the 'Logoff' "
    "button.\nIf you really just want to disconnect, click 'Disconnect'.";

void lay_out(wxDialog &dialog, const char *message, const wxString &other_label)
{
    auto *sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(&dialog, wxID_ANY, wxString::FromAscii(message), wxDefaultPosition,
                                wxDefaultSize, wxALIGN_CENTRE),
               1, wxALL, message_border);
    auto *buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(&dialog, wxID_OK, wxS("&Logoff")));
    buttons->AddButton(new wxButton(&dialog, wxID_NO, other_label));
    buttons->AddButton(new wxButton(&dialog, wxID_CANCEL, wxS("&Cancel")));
    buttons->Realize();
    sizer->Add(buttons, 0, wxALIGN_CENTRE_HORIZONTAL);
    sizer->Add(bottom_spacer, bottom_spacer);
    dialog.SetSizerAndFit(sizer);
}

struct sent_line {
    const char *text;
    int echo;
};

// Sends the lines in order, but only over a live connection.
template <size_t count> void send_logoff(const sent_line (&lines)[count])
{
    if (main_window == nullptr || !main_window->connected())
        return;
    for (const sent_line &line : lines)
        main_window->handle_async_control_command(line.text, line.echo);
}

} // namespace

void show_centred(wxDialog &dialog, const wxWindow &frame)
{
    const wxRect area = frame.GetRect();
    const wxSize size = dialog.GetSize();
    dialog.Move(area.x + (area.width - size.x) / 2, area.y + (area.height - size.y) / 2);
    dialog.Show(true);
}

wxBEGIN_EVENT_TABLE(quit_dialog, wxDialog)
    EVT_BUTTON(wxID_OK, quit_dialog::logoff_handler)
    EVT_BUTTON(wxID_NO, quit_dialog::quit_handler)
wxEND_EVENT_TABLE()

quit_dialog::quit_dialog(wxWindow *parent, int id, const wxString &title) : wxDialog(parent, id, title)
{
    lay_out(*this, quit_message, wxS("&Exit Program"));
}

void quit_dialog::logoff_handler(wxCommandEvent &)
{
    static const sent_line logoff[] = {{"", 0}, {"recall", 0}, {"quit -f", 0}, {"recall", 0}, {"quit -f", 0}};
    send_logoff(logoff);
    Show(false);
}

void quit_dialog::quit_handler(wxCommandEvent &)
{
    if (main_window != nullptr)
        main_window->system_shutdown_handler();
    Show(false);
}

wxBEGIN_EVENT_TABLE(disconnect_dialog, wxDialog)
    EVT_BUTTON(wxID_OK, disconnect_dialog::logoff_handler)
    EVT_BUTTON(wxID_NO, disconnect_dialog::disconnect_handler)
wxEND_EVENT_TABLE()

disconnect_dialog::disconnect_dialog(wxWindow *parent, int id, const wxString &title)
    : wxDialog(parent, id, title)
{
    lay_out(*this, disconnect_message, wxS("&Disconnect"));
}

void disconnect_dialog::logoff_handler(wxCommandEvent &)
{
    static const sent_line logoff[] = {{"", 0}, {"recall", 0}, {"quit", 0}, {"recall", 0}, {"quit", 1}};
    send_logoff(logoff);
    Show(false);
}

void disconnect_dialog::disconnect_handler(wxCommandEvent &)
{
    if (main_window != nullptr && main_window->connected())
        main_window->handle_async_control_command("//disconnect", 0);
    Show(false);
}
