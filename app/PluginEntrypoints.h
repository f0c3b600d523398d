#pragma once

#include "framework/PluginEntrypoints.h"

namespace Quorvane {

// Registers the bash plug-in, then fills __plugin_entrypoints: a table of the 14 entries, each
// looked up by its signature text in entry order; no result is examined.
void _InitPluginEntrypoints();

} // namespace Quorvane
