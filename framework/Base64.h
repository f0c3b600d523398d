#pragma once

#include "framework/Types.h"

namespace Quorvane {

// A text encoding; decoding takes none, for bytes that are kept as they are.
class TextEncoding;

// The outside operation that decodes standard Base64 (RFC 4648, "=" padding); text that is not
// Base64 raises UnsupportedFormatException.
using DecodeBase64Operation = String(const String& data, const TextEncoding* encoding);

// The framework's own Base64 decoder, offered as the outside operation DecodeBase64Operation.
String DecodeBase64(const String& data, const TextEncoding* encoding);

} // namespace Quorvane
