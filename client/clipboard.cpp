#include "clipboard.h"

#include "text_bytes.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/log.h>

namespace {
// Opens the toolkit clipboard for the life of the object, with the toolkit's
// log messages off (a failure would otherwise pop up a log dialog), and
// leaves it closed and on the regular clipboard on every path.
class open_clipboard {
public:
    open_clipboard() : open_(wxTheClipboard->Open()) {}
    ~open_clipboard()
    {
        if (open_) {
            wxTheClipboard->UsePrimarySelection(false);
            wxTheClipboard->Close();
        }
    }
    open_clipboard(const open_clipboard &) = delete;
    open_clipboard &operator=(const open_clipboard &) = delete;

    bool is_open() const { return open_; }

private:
    wxLogNull quiet_;
    bool open_;
};

bool offers_text()
{
    return wxTheClipboard->IsSupported(wxDataFormat(wxDF_UNICODETEXT)) ||
           wxTheClipboard->IsSupported(wxDataFormat(wxDF_TEXT));
}
}

void set_clipboard_data(const char *text)
{
    if (text == nullptr)
        return;
    open_clipboard clipboard;
    if (!clipboard.is_open())
        return;
    const wxString data = bytes_to_wx(text);
    wxTheClipboard->UsePrimarySelection(true);
    wxTheClipboard->SetData(new wxTextDataObject(data));
    wxTheClipboard->UsePrimarySelection(false);
    wxTheClipboard->SetData(new wxTextDataObject(data));
}

void sanitize_clipboard_data()
{
    open_clipboard clipboard;
    if (!clipboard.is_open() || !offers_text())
        return;
    wxTextDataObject data;
    if (!wxTheClipboard->GetData(data))
        return;
    wxString text = data.GetText();
    const size_t nul = text.find(wxUniChar(0));
    if (nul != wxString::npos)
        text.erase(nul);
    wxTheClipboard->SetData(new wxTextDataObject(text));
}
