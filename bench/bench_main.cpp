// The benchmarks run with the toolkit started (glyph fonts need it), so they
// need a display; run them under xvfb-run.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/init.h>

int main(int argc, char **argv)
{
    // Without an application object only the toolkit's base would start.
    wxApp::SetInstance(new wxApp);
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
