#pragma once
// A 128-bit class id as the compound-file and property-set formats store it.
#include <array>
#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

struct ClassId {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    bool IsNull() const { return *this == ClassId{}; }
    bool operator==(const ClassId&) const = default;

    // "{F29F85E0-4FF9-1068-AB91-08002B27B3D9}" form; FromString accepts it
    // with or without braces and returns false for anything else.
    std::wstring ToString() const;
    static bool FromString(const std::wstring& text, ClassId& id);
};

} // namespace KelmLibraryUtils
