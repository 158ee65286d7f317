#include "clipboard.h"

#include "text_bytes.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/log.h>

namespace {
// The plain text of the clipboard or of the primary selection.
std::string read_back(bool primary)
{
    if (!wxTheClipboard->Open())
        return "<cannot open>";
    wxTheClipboard->UsePrimarySelection(primary);
    wxTextDataObject data;
    const bool got = wxTheClipboard->GetData(data);
    wxTheClipboard->UsePrimarySelection(false);
    wxTheClipboard->Close();
    return got ? wx_to_bytes(data.GetText()) : "<no text>";
}

void put_on_clipboard(const wxString &text)
{
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject(text));
    wxTheClipboard->Close();
}
}

TEST(Clipboard, SetTextCanBeReadFromBothSelections)
{
    const char text[] = "say caf\xe9 \xbbnorth\xab";
    set_clipboard_data(text);
    EXPECT_EQ(read_back(false), text);
    EXPECT_EQ(read_back(true), text);
    EXPECT_FALSE(wxTheClipboard->IsUsingPrimarySelection());
    EXPECT_TRUE(wxLog::IsEnabled());

    set_clipboard_data("second");
    EXPECT_EQ(read_back(false), "second");
    EXPECT_EQ(read_back(true), "second");
}

TEST(Clipboard, SanitizeCutsTheTextAtItsFirstNul)
{
    put_on_clipboard(wxString(L"look\0hidden", 11));
    sanitize_clipboard_data();
    EXPECT_EQ(read_back(false), "look");
    EXPECT_TRUE(wxLog::IsEnabled());
    EXPECT_FALSE(wxTheClipboard->IsOpened());
}

TEST(Clipboard, SanitizeKeepsPlainTextAsItIs)
{
    const wxString typed = wxString::FromUTF8("tell bob \xe2\x82\xac 5 caf\xc3\xa9");
    put_on_clipboard(typed);
    sanitize_clipboard_data();
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTextDataObject data;
    EXPECT_TRUE(wxTheClipboard->GetData(data));
    wxTheClipboard->Close();
    EXPECT_EQ(data.GetText(), typed);
}

TEST(Clipboard, SanitizeWithoutTextLeavesTheClipboardAlone)
{
    // Taking the clipboard with a picture leaves no text on it, whoever held
    // it before (a text control's own copy is out of reach of Clear).
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxBitmapDataObject(wxBitmap(1, 1)));
    wxTheClipboard->Close();
    sanitize_clipboard_data();
    EXPECT_EQ(read_back(false), "<no text>");
    EXPECT_TRUE(wxLog::IsEnabled());
}
