#pragma once
// Little-endian fields of the binary formats the readers parse and the
// writers patch. The caller has checked that the bytes are there.
#include <cstddef>
#include <cstdint>
#include <string>

namespace KelmLibraryUtils::LittleEndian {

inline std::uint16_t U16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t U32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

inline std::uint64_t U64(const unsigned char* p) {
    return std::uint64_t{U32(p)} | std::uint64_t{U32(p + 4)} << 32;
}

inline void Put16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

inline void Put32(unsigned char* p, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

inline void Put64(unsigned char* p, std::uint64_t v) {
    for (std::size_t i = 0; i < 8; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// `units` UTF-16 code units; an unpaired surrogate becomes U+FFFD.
inline std::wstring Utf16(const unsigned char* p, std::size_t units) {
    std::wstring text;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = U16(p + 2 * i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
            const char32_t low = U16(p + 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                text.push_back(
                    static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                ++i;
                continue;
            }
        }
        text.push_back(unit >= 0xD800 && unit < 0xE000 ? L'\uFFFD' : static_cast<wchar_t>(unit));
    }
    return text;
}

} // namespace KelmLibraryUtils::LittleEndian
