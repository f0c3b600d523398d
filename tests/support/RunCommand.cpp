// Runs one command line through the program's shell service and prints what it printed, so that
// a test can treat the service as another process: signal it while the command runs.

#include "app/PluginEntrypoints.h"
#include "linking/Shell.h"

#include <cstdio>

int main(int argc, char** argv)
{
    using namespace Quorvane;
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvane_run_command COMMAND\n");
        return 2;
    }
    _InitPluginEntrypoints();
    const String result = RunInNewShell(argv[1])->Result();
    std::fwrite(result.data(), 1, result.size(), stdout);
    __plugin_entrypoints.Clear();
    return 0;
}
