// Entry point of the suites that need the toolkit and a display. The toolkit
// is started once for the whole process; a process that cannot start it fails
// instead of letting every test be skipped. A failed toolkit assertion fails
// the test that is running, and toolkit log messages go to standard error
// (a log dialog would hang the suite under Xvfb).
#include "temp_home.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/imagpng.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>

namespace {
void fail_running_test(const wxString &file, int line, const wxString &function, const wxString &condition,
                       const wxString &message)
{
    ADD_FAILURE_AT(file.utf8_str().data(), line)
        << "toolkit assertion \"" << condition.utf8_str().data() << "\" failed in " << function.utf8_str().data()
        << ": " << message.utf8_str().data();
}

// The toolkit frees the data on the primary selection only when it loses
// the selection, which does not happen at exit.
void give_up_primary_selection()
{
    wxTheClipboard->UsePrimarySelection(true);
    wxTheClipboard->Clear();
    wxTheClipboard->UsePrimarySelection(false);
}
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    TempHome home;
    // Listing the tests (as CTest does to discover them) needs no display.
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    setenv("GDK_BACKEND", "x11", 0);
    // The accessibility bridge looks for a session bus, which the virtual
    // display runs without, and keeps what it set up until exit.
    setenv("NO_AT_BRIDGE", "1", 0);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "gui_tests: cannot start the toolkit (is there a display?)\n");
        return EXIT_FAILURE;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);
    // As in the program, PNG images can be decoded (and screenshots saved).
    wxImage::AddHandler(new wxPNGHandler);
    wxSetAssertHandler(fail_running_test);
    const int result = RUN_ALL_TESTS();
    give_up_primary_selection();
    wxEntryCleanup();
    return result;
}
