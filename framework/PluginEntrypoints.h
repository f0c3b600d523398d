#pragma once

#include "framework/Object.h"

#include <array>
#include <initializer_list>
#include <typeinfo>
#include <vector>

namespace Quorvane {

// One operation of a plug-in under its signature text: its address and the type it was bound
// with, or only the signature when no plug-in offers that operation.
class PluginEntrypoint {
public:
    // An entry that holds nothing.
    PluginEntrypoint() = default;
    // An entry that names an operation no plug-in offers.
    explicit PluginEntrypoint(String signature) : m_signature(std::move(signature)) {}
    // An entry that holds the operation.
    template <class Function>
    PluginEntrypoint(String signature, Function* operation)
        : m_signature(std::move(signature)),
          m_address(reinterpret_cast<Address>(operation)),
          m_type(&typeid(Function))
    {
    }

    // The signature text the entry was looked up with.
    const String& Signature() const noexcept { return m_signature; }
    // True when the entry holds an operation.
    bool IsBound() const noexcept { return m_address != nullptr; }

    // The operation as a Function; an entry that holds none raises FunctionNotFoundException and
    // one that holds an operation of another type IllegalCastException, before anything is called.
    template <class Function>
    Function* As() const
    {
        if (!m_address)
            throw FunctionNotFoundException(MissingMessage());
        if (*m_type != typeid(Function))
            throw IllegalCastException("The outside operation \"" + m_signature +
                                       "\" was bound with another type.");
        return reinterpret_cast<Function*>(m_address);
    }

private:
    using Address = void (*)();
    String MissingMessage() const;

    String m_signature;
    Address m_address = nullptr;
    const std::type_info* m_type = nullptr;
};

// A fixed-size table of entry points, each in its own place.
class PluginEntrypointsTable : public Object {
public:
    // The number of entries.
    Int32 Count() const noexcept { return static_cast<Int32>(m_entries.size()); }
    // The entry at index; OutOfBoundsException outside the table.
    const PluginEntrypoint& Entry(Int32 index) const;
    // Replaces the entry at index; OutOfBoundsException outside the table.
    void SetEntry(Int32 index, PluginEntrypoint entry);

protected:
    PluginEntrypointsTable() = default;

private:
    friend Ref<PluginEntrypointsTable> RuntimeAllocatePluginEntrypointsTable(Int32 count);
    std::vector<PluginEntrypoint> m_entries;
};

// A new table of count empty entries.
Ref<PluginEntrypointsTable> RuntimeAllocatePluginEntrypointsTable(Int32 count);

// The operation that a plug-in offers under the signature text, or an entry that names it and
// holds nothing.
PluginEntrypoint RuntimeLookupPluginEntrypoint(const String& signature);

// Offers a plug-in's operations for lookup under their signature texts from now on; a signature
// offered before keeps its first operation, so a plug-in may be registered more than once.
void RegisterPluginOperations(std::initializer_list<PluginEntrypoint> entries);

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

// The table of the outside operations: filled once by the start-up sequence, read by every call of
// one of them, released at the end of the run.
extern Ref<PluginEntrypointsTable> __plugin_entrypoints;

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
