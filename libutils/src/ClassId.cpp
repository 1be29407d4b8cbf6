#include "KelmLibraryUtils/ClassId.h"

#include <cstdio>

namespace KelmLibraryUtils {
namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// `digits` hexadecimal digits from `text[at]`.
bool ReadHex(const std::wstring& text, std::size_t at, int digits, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const int digit = HexDigit(text[at + i]);
        if (digit < 0)
            return false;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return true;
}

} // namespace

std::wstring ClassId::ToString() const {
    wchar_t text[40];
    std::swprintf(text, 40, L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", Data1, Data2,
                  Data3, Data4[0], Data4[1], Data4[2], Data4[3], Data4[4], Data4[5], Data4[6],
                  Data4[7]);
    return text;
}

bool ClassId::FromString(const std::wstring& text, ClassId& id) {
    constexpr std::size_t kPlainLength = 36;
    std::wstring plain = text;
    if (plain.size() == kPlainLength + 2 && plain.front() == L'{' && plain.back() == L'}')
        plain = plain.substr(1, kPlainLength);
    if (plain.size() != kPlainLength || plain[8] != L'-' || plain[13] != L'-' ||
        plain[18] != L'-' || plain[23] != L'-')
        return false;
    ClassId parsed;
    std::uint32_t part = 0;
    if (!ReadHex(plain, 0, 8, parsed.Data1) || !ReadHex(plain, 9, 4, part))
        return false;
    parsed.Data2 = static_cast<std::uint16_t>(part);
    if (!ReadHex(plain, 14, 4, part))
        return false;
    parsed.Data3 = static_cast<std::uint16_t>(part);
    constexpr std::size_t kByteAt[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (std::size_t i = 0; i < 8; ++i) {
        if (!ReadHex(plain, kByteAt[i], 2, part))
            return false;
        parsed.Data4[i] = static_cast<std::uint8_t>(part);
    }
    id = parsed;
    return true;
}

} // namespace KelmLibraryUtils
