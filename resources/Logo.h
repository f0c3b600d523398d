#pragma once

#include "framework/Types.h"

namespace Quorvane {

// The logo picture as standard Base64 text of its PNG bytes (300 x 101 pixels, 8-bit RGBA), one
// line without breaks; made by resources/make_logo.py.
const String& LogoBase64();

} // namespace Quorvane
