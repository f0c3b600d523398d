#pragma once

#include "framework/Types.h"

namespace Quorvane {

// The logo picture as standard Base64 text of its PNG bytes (300 x 101 pixels, 8-bit RGBA), one
// line without breaks; written by the build from resources/logo.png.
const String& LogoBase64();

} // namespace Quorvane
