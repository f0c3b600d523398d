#pragma once

#include "framework/ClassDescription.h"

#include <vector>

namespace Quorvane {

// One entry of a stored property list: a property's name and its value.
struct PropertyEntry {
    String Key;
    PropertyValue Value;
    friend bool operator==(const PropertyEntry&, const PropertyEntry&) = default;
};

// The entries of a stored property list, read with the types of target's properties. A list is a
// run of entries, each a key of ASCII letters, one blank and the value: an Int32 as 4 bytes, most
// significant first; a Boolean as 1 byte, 0 or 1; a Color as 3 bytes; a String as its length in 4
// bytes and then its bytes. A list that ends inside an entry, names a property target lacks or
// holds a value of another form raises UnsupportedFormatException saying where.
std::vector<PropertyEntry> DecodePropertyList(const String& list, const ClassDescription& target);

// The stored property list of the entries.
String EncodePropertyList(const std::vector<PropertyEntry>& entries);

// Applies the stored property list to the target, entry by entry in list order, each to the
// target's property of that name (matched without regard to case). The whole list is read before
// anything is set, so a malformed one sets nothing.
void _SetProperties(const Ref<Object>& target, const String& list);

} // namespace Quorvane
