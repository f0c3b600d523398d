#pragma once

#include "framework/Types.h"

#include <vector>

namespace Quorvane {

// The number of characters (not bytes) in a UTF-8 text.
Int32 Len(const String& text);

// The pieces of source between the occurrences of delimiter, in order; the highest index is their
// count less one. An empty source gives no pieces; an empty delimiter raises
// UnsupportedFormatException.
std::vector<String> Split(const String& source, const String& delimiter);

// The text without its leading and trailing white space.
String Trim(const String& text);

// The value in plain decimal; format must be empty, the only form offered.
String Str(Int64 value, const String& format = {});

// The source with every occurrence of find replaced, from left to right; an empty find changes
// nothing.
String ReplaceAll(const String& source, const String& find, const String& replacement);

// The platform's line end.
String EndOfLine();

} // namespace Quorvane
