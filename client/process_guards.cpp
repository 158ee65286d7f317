#include "process_guards.h"

#include <wx/debug.h>
#include <wx/string.h>

#include <csignal>
#include <cstdio>

namespace {
void report_assert(const wxString &file, int line, const wxString &function, const wxString &condition,
                   const wxString &message)
{
    fprintf(stderr, "Varn Ossic: toolkit assertion \"%s\" failed in %s (%s:%d)%s%s\n",
            condition.utf8_str().data(), function.utf8_str().data(), file.utf8_str().data(), line,
            message.empty() ? "" : ": ", message.utf8_str().data());
}
}

void install_assert_report()
{
    wxSetAssertHandler(report_assert);
}

void ignore_file_size_signal()
{
    signal(SIGXFSZ, SIG_IGN);
}
