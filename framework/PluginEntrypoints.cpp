#include "framework/PluginEntrypoints.h"

#include "framework/Base64.h"

#include <map>

namespace Quorvane {

namespace {

std::map<String, PluginEntrypoint>& Offers()
{
    // The framework offers its own Base64 decoder; plug-ins add theirs when they are registered.
    static std::map<String, PluginEntrypoint> offers = {
        {PluginSignatures[DecodeBase64Entry],
         PluginEntrypoint(PluginSignatures[DecodeBase64Entry], &DecodeBase64)}};
    return offers;
}

} // namespace

Ref<PluginEntrypointsTable> __plugin_entrypoints;

String PluginEntrypoint::MissingMessage() const
{
    return "No plug-in offers the outside operation \"" + m_signature + "\".";
}

const PluginEntrypoint& PluginEntrypointsTable::Entry(Int32 index) const
{
    if (index < 0 || index >= Count())
        throw OutOfBoundsException("The table has no entry " + std::to_string(index) + ".");
    return m_entries[static_cast<std::size_t>(index)];
}

void PluginEntrypointsTable::SetEntry(Int32 index, PluginEntrypoint entry)
{
    if (index < 0 || index >= Count())
        throw OutOfBoundsException("The table has no entry " + std::to_string(index) + ".");
    m_entries[static_cast<std::size_t>(index)] = std::move(entry);
}

Ref<PluginEntrypointsTable> RuntimeAllocatePluginEntrypointsTable(Int32 count)
{
    if (count < 0)
        throw OutOfBoundsException("A table cannot have a negative number of entries.");
    auto table = RuntimeNewObject<PluginEntrypointsTable>();
    table->m_entries.resize(static_cast<std::size_t>(count));
    return table;
}

PluginEntrypoint RuntimeLookupPluginEntrypoint(const String& signature)
{
    auto found = Offers().find(signature);
    return found == Offers().end() ? PluginEntrypoint(signature) : found->second;
}

void RegisterPluginOperations(std::initializer_list<PluginEntrypoint> entries)
{
    for (const auto& entry : entries)
        Offers().emplace(entry.Signature(), entry);
}

} // namespace Quorvane
