#include "app/PluginEntrypoints.h"

#include "linking/BashShell.h"

namespace Quorvane {

void _InitPluginEntrypoints()
{
    RegisterBashShell();
    __plugin_entrypoints = RuntimeAllocatePluginEntrypointsTable(PluginEntryCount);
    for (Int32 entry = 0; entry < PluginEntryCount; ++entry)
        __plugin_entrypoints->SetEntry(entry, RuntimeLookupPluginEntrypoint(
                                                  PluginSignatures[static_cast<size_t>(entry)]));
}

} // namespace Quorvane
