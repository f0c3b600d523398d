#pragma once

#include "framework/Object.h"

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

// A plug-in's offer of its operations under their signature texts. A plug-in defines one at
// namespace scope in the source of its operations; a signature offered twice keeps its first
// operation.
class PluginRegistration {
public:
    // Offers every entry for lookup from now on.
    PluginRegistration(std::initializer_list<PluginEntrypoint> entries);
};

} // namespace Quorvane
