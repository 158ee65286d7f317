#include "process_guards.h"
#include "stderr_capture.h"

#include <gtest/gtest.h>
#include <wx/debug.h>
#include <wx/fileconf.h>
#include <wx/init.h>
#include <wx/sstream.h>

// A failed assertion inside the toolkit (an entry without a key in a
// configuration text) is said on standard error, and the toolkit goes on.
TEST(AssertReport, AToolkitAssertionIsSaidAndTheProgramGoesOn)
{
    wxInitializer toolkit;
    ASSERT_TRUE(toolkit.IsOk());
    const wxAssertHandler_t previous = wxTheAssertHandler;
    stderr_capture said;
    install_assert_report();
    wxStringInputStream in(wxS("=x\nafter=1\n"));
    wxFileConfig store(in);
    wxSetAssertHandler(previous);
    EXPECT_EQ(store.Read(wxS("after"), wxString()), wxS("1"));
    const std::string text = said.text();
    EXPECT_NE(text.find("Varn Ossic: toolkit assertion \"!strName.empty()\" failed in "), std::string::npos) << text;
    EXPECT_NE(text.find("fileconf.cpp:"), std::string::npos) << text;
}
