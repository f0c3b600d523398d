#pragma once

#include <cstdint>
#include <string>

namespace Quorvane {

// Texts are UTF-8 bytes; lengths in characters come from Len.
using String = std::string;
using Int32 = std::int32_t;
using Int64 = std::int64_t;
using Boolean = bool;

// A colour as its three components, red first.
struct Color {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

} // namespace Quorvane
