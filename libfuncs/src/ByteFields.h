#pragma once
// Little-endian fields in byte buffers, for the compound-file writer. The
// caller has checked that the bytes are there.
#include <cstddef>
#include <cstdint>

namespace KelmLibraryFuncs::ByteFields {

inline std::uint16_t Get16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t Get32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

inline std::uint64_t Get64(const unsigned char* p) {
    return std::uint64_t{Get32(p)} | std::uint64_t{Get32(p + 4)} << 32;
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

} // namespace KelmLibraryFuncs::ByteFields
