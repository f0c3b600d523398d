#pragma once

#include <cstdint>
#include <string>

namespace Quorvane {

// Texts are byte strings. The program's own texts are UTF-8, and Len counts their characters;
// paths and what a command prints travel byte for byte as the system gives them, UTF-8 or not.
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
