#include "KelmPlatform/DosAttrib.h"

#include <cstdio>
#include <cstdlib>

namespace KelmPlatform {
namespace {

constexpr std::uint32_t kValidAttrib = 0x01;
constexpr std::uint32_t kValidCreateTime = 0x10;

// Little-endian NDR reader that refuses to read past the end.
class NdrReader {
public:
    explicit NdrReader(std::string_view data) : m_data(data) {}

    bool Align(size_t to) {
        m_pos = (m_pos + to - 1) / to * to;
        return m_pos <= m_data.size();
    }
    bool SkipString() {
        const auto end = m_data.find('\0', m_pos);
        if (end == std::string_view::npos)
            return false;
        m_pos = end + 1;
        return true;
    }
    bool U16(std::uint16_t& v) { return Read(2, 2, v); }
    bool U32(std::uint32_t& v) { return Read(4, 4, v); }
    // NTTIME and udlong are two 4-byte aligned words.
    bool U64(std::uint64_t& v) { return Read(8, 4, v); }

private:
    template <typename T> bool Read(size_t size, size_t alignment, T& v) {
        if (!Align(alignment) || m_data.size() - m_pos < size)
            return false;
        v = 0;
        for (size_t i = 0; i < size; ++i)
            v |= static_cast<T>(static_cast<unsigned char>(m_data[m_pos + i])) << (8 * i);
        m_pos += size;
        return true;
    }

    std::string_view m_data;
    size_t m_pos = 0;
};

std::optional<DosInfo> DecodeLegacyText(std::string_view value) {
    const std::string text(value);
    char* end = nullptr;
    const unsigned long bits = std::strtoul(text.c_str() + 2, &end, 16);
    if (end == text.c_str() + 2 || *end != '\0')
        return std::nullopt;
    return DosInfo{true, static_cast<std::uint32_t>(bits), 0};
}

std::optional<DosInfo> DecodeBlob(std::string_view value) {
    NdrReader in(value);
    std::uint16_t version = 0, level = 0;
    if (!in.SkipString() || !in.U16(version) || !in.U16(level) || version != level)
        return std::nullopt;
    DosInfo info;
    std::uint32_t flags = kValidAttrib | kValidCreateTime, skip32 = 0;
    std::uint64_t skip64 = 0, create = 0;
    bool ok = false;
    switch (version) {
    case 1: // attrib, ea_size, size, alloc_size, create_time, change_time
        ok = in.U32(info.attributes) && in.U32(skip32) && in.U64(skip64) && in.U64(skip64) &&
             in.U64(create);
        break;
    case 2: // flags, then as version 1
        ok = in.U32(skip32) && in.U32(info.attributes) && in.U32(skip32) && in.U64(skip64) &&
             in.U64(skip64) && in.U64(create);
        break;
    case 3: // valid_flags, attrib, ea_size, size, alloc_size, create_time, change_time
        ok = in.U32(flags) && in.U32(info.attributes) && in.U32(skip32) && in.U64(skip64) &&
             in.U64(skip64) && in.U64(create);
        break;
    case 4: // valid_flags, attrib, itime, create_time
        ok = in.U32(flags) && in.U32(info.attributes) && in.U64(skip64) && in.U64(create);
        break;
    case 5: // valid_flags, attrib, create_time
        ok = in.U32(flags) && in.U32(info.attributes) && in.U64(create);
        break;
    default:
        return std::nullopt;
    }
    if (!ok)
        return std::nullopt;
    info.hasAttributes = (flags & kValidAttrib) != 0;
    if (!info.hasAttributes)
        info.attributes = 0;
    info.createTime = (flags & kValidCreateTime) ? create : 0;
    return info;
}

void PutU16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutU64(std::string& out, std::uint64_t v) {
    PutU32(out, static_cast<std::uint32_t>(v));
    PutU32(out, static_cast<std::uint32_t>(v >> 32));
}

void PadTo(std::string& out, size_t to) {
    while (out.size() % to != 0)
        out += '\0';
}

} // namespace

std::optional<DosInfo> DecodeDosAttrib(std::string_view value) {
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X') &&
        value.find('\0') == std::string_view::npos)
        return DecodeLegacyText(value);
    return DecodeBlob(value);
}

std::string EncodeDosAttrib(std::uint32_t attributes, FileTime createTime) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%x", static_cast<unsigned>(attributes));
    std::string out(hex);
    out += '\0';
    PadTo(out, 2);
    PutU16(out, 3);
    PutU16(out, 3);
    PadTo(out, 4);
    PutU32(out, kValidAttrib | kValidCreateTime);
    PutU32(out, attributes);
    PutU32(out, 0); // ea_size
    PutU64(out, 0); // size
    PutU64(out, 0); // alloc_size
    PutU64(out, createTime);
    PutU64(out, 0); // change_time
    return out;
}

} // namespace KelmPlatform
