// The program's entry point: the environment and the command line are
// settled before the toolkit starts, then the toolkit runs vusk_app.
#include "command_line.h"
#include "main.h"
#include "process_guards.h"

#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>

wxIMPLEMENT_APP_NO_MAIN(vusk_app);

namespace {

// The drawn windows paint through client device contexts outside paint
// events, which works on X11 only.
void prefer_x11()
{
    setenv("GDK_BACKEND", "x11", 0);
}

// Nothing is drawn with GL, yet GDK would load a GL driver at start to pick
// its visuals: about 50 MB resident with a software renderer.
void keep_gl_unloaded()
{
    setenv("GDK_GL", "disable", 0);
}

} // namespace

int main(int argc, char **argv)
{
    prefer_x11();
    keep_gl_unloaded();
    // A modal log dialog would stall the main tick.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    install_assert_report();
    ignore_file_size_signal();

    connect_settings settings;
    const command_line_outcome outcome = parse_command_line(argc, argv, settings);
    switch (outcome.action) {
    case command_line_action::show_help:
        fputs(outcome.message.c_str(), stdout);
        return EXIT_SUCCESS;
    case command_line_action::fail:
        fputs(outcome.message.c_str(), stderr);
        return EXIT_FAILURE;
    case command_line_action::run:
        break;
    }
    apply_connect_settings(settings);
    // The toolkit parses the arguments again: they are ours, not its.
    char *program_only[] = {argv[0], nullptr};
    int toolkit_argc = 1;
    return wxEntry(toolkit_argc, program_only);
}
