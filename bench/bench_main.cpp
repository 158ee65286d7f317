// Benchmarks that draw with the toolkit's fonts need it started; the others
// run the same way with or without a display.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/init.h>

int main(int argc, char **argv)
{
    wxInitializer toolkit(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
