#pragma once

#include "framework/PluginEntrypoints.h"

#include <array>

namespace Quorvane {

// The places of the outside operations in the table of entry points.
enum PluginEntry : Int32 {
    DecodeBase64Entry = 0,
    ShellInitEntry = 1,
    ShellExitEntry = 2,
    ShellExecuteEntry = 3,
    ShellExecuteWithParametersEntry = 4,
    ShellReadAllEntry = 5,
    ShellWriteEntry = 6,
    ShellWriteLineEntry = 7,
    ShellCloseEntry = 8,
    ShellPollEntry = 9,
    ShellResultGetEntry = 10,
    ShellModeSetEntry = 11,
    ShellCanonicalGetEntry = 12,
    ShellCanonicalSetEntry = 13,
    PluginEntryCount = 14,
};

// The signature text of each entry, in entry order.
inline constexpr std::array<const char*, PluginEntryCount> PluginSignatures = {
    "DecodeBase64(data As String, encoding as TextEncoding = nil) As String",
    "Shell.__init",
    "Shell.__exit",
    "Shell.Execute(command as String)",
    "Shell.Execute(command as String, parameters as String)",
    "Shell.ReadAll() as String",
    "Shell.Write(s as String)",
    "Shell.WriteLine(s as String)",
    "Shell.Close",
    "Shell.Poll",
    "Shell.Result.Get",
    "Shell.Mode.Set",
    "Shell.Canonical.Get",
    "Shell.Canonical.Set",
};

// The table of the outside operations: filled once at start-up, read by every call of one of them,
// released at the end of the run.
extern Ref<PluginEntrypointsTable> __plugin_entrypoints;

// Fills __plugin_entrypoints: a table of the 14 entries, each looked up by its signature text in
// entry order; no result is examined.
void _InitPluginEntrypoints();

// The operation held at entry, as a Function; raises FunctionNotFoundException when the table or
// the entry holds none.
template <class Function>
Function* PluginOperation(PluginEntry entry)
{
    if (!__plugin_entrypoints)
        throw FunctionNotFoundException("The outside operations are not bound yet.");
    return __plugin_entrypoints->Entry(entry).As<Function>();
}

} // namespace Quorvane
