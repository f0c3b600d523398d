#include "app/PluginEntrypoints.h"

#include <gtest/gtest.h>

namespace Quorvane {
namespace {

int g_calls = 0;
Int32 Twice(Int32 value)
{
    ++g_calls;
    return 2 * value;
}

TEST(PluginEntrypoints, AllFourteenSignaturesAreLookedUpEachInItsPlace)
{
    // Written out here, not taken from the table's own list, so that a changed text is caught.
    struct Row {
        PluginEntry entry;
        const char* signature;
    };
    const Row rows[] = {
        {DecodeBase64Entry, "DecodeBase64(data As String, encoding as TextEncoding = nil) As String"},
        {ShellInitEntry, "Shell.__init"},
        {ShellExitEntry, "Shell.__exit"},
        {ShellExecuteEntry, "Shell.Execute(command as String)"},
        {ShellExecuteWithParametersEntry, "Shell.Execute(command as String, parameters as String)"},
        {ShellReadAllEntry, "Shell.ReadAll() as String"},
        {ShellWriteEntry, "Shell.Write(s as String)"},
        {ShellWriteLineEntry, "Shell.WriteLine(s as String)"},
        {ShellCloseEntry, "Shell.Close"},
        {ShellPollEntry, "Shell.Poll"},
        {ShellResultGetEntry, "Shell.Result.Get"},
        {ShellModeSetEntry, "Shell.Mode.Set"},
        {ShellCanonicalGetEntry, "Shell.Canonical.Get"},
        {ShellCanonicalSetEntry, "Shell.Canonical.Set"},
    };
    _InitPluginEntrypoints();
    ASSERT_EQ(__plugin_entrypoints->Count(), 14);
    for (Int32 place = 0; place < 14; ++place) {
        const Row& row = rows[place];
        EXPECT_EQ(row.entry, place) << row.signature;
        EXPECT_EQ(__plugin_entrypoints->Entry(place).Signature(), row.signature) << "entry " << place;
    }
}

TEST(PluginEntrypoints, TheOperationsTheSystemCallsAreBoundAndTheOthersHoldNothing)
{
    _InitPluginEntrypoints();
    for (PluginEntry bound : {DecodeBase64Entry, ShellInitEntry, ShellExitEntry, ShellExecuteEntry,
                              ShellResultGetEntry, ShellModeSetEntry})
        EXPECT_TRUE(__plugin_entrypoints->Entry(bound).IsBound()) << bound;
    for (PluginEntry unbound : {ShellExecuteWithParametersEntry, ShellReadAllEntry, ShellWriteEntry,
                                ShellWriteLineEntry, ShellCloseEntry, ShellPollEntry,
                                ShellCanonicalGetEntry, ShellCanonicalSetEntry})
        EXPECT_FALSE(__plugin_entrypoints->Entry(unbound).IsBound()) << unbound;
}

TEST(PluginEntrypoints, AnEntryIsCalledOnlyAsTheTypeItWasBoundWith)
{
    Ref<PluginEntrypointsTable> table = RuntimeAllocatePluginEntrypointsTable(2);
    table->SetEntry(0, PluginEntrypoint("Twice", &Twice));
    g_calls = 0;
    EXPECT_EQ(table->Entry(0).As<Int32(Int32)>()(21), 42);
    EXPECT_THROW(table->Entry(0).As<void(Int32)>(), IllegalCastException);
    EXPECT_THROW(table->Entry(1).As<Int32(Int32)>(), FunctionNotFoundException);
    EXPECT_THROW(table->Entry(2), OutOfBoundsException);
    EXPECT_THROW(table->Entry(-1), OutOfBoundsException);
    EXPECT_EQ(g_calls, 1);
}

TEST(PluginEntrypoints, AnUnknownSignatureNamesItselfAndHoldsNothing)
{
    PluginEntrypoint missing = RuntimeLookupPluginEntrypoint("Shell.Poll");
    EXPECT_FALSE(missing.IsBound());
    try {
        missing.As<void()>();
        FAIL() << "an empty entry was handed out";
    } catch (const FunctionNotFoundException& raised) {
        EXPECT_EQ(raised.Message(), "No plug-in offers the outside operation \"Shell.Poll\".");
    }
}

} // namespace
} // namespace Quorvane
