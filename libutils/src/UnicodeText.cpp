#include "KelmLibraryUtils/UnicodeText.h"

#include <KelmPlatform/NativeName.h>

namespace KelmLibraryUtils {
namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

char32_t CodeUnit(std::string_view bytes, size_t i, bool bigEndian) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    const size_t units = bytes.size() / 2;
    for (size_t u = 0; u < units; ++u) {
        const char32_t unit = CodeUnit(bytes, u * 2, bigEndian);
        if (unit >= 0xD800 && unit <= 0xDBFF && u + 1 < units) {
            const char32_t next = CodeUnit(bytes, (u + 1) * 2, bigEndian);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                text += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++u;
                continue;
            }
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

void AppendUnit(std::string& out, char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

} // namespace

std::wstring UnicodeText::DecodeFileBytes(std::string_view bytes) {
    if (StartsWith(bytes, "\xFF\xFE"))
        return DecodeUtf16(bytes.substr(2), false);
    if (StartsWith(bytes, "\xFE\xFF"))
        return DecodeUtf16(bytes.substr(2), true);
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return KelmPlatform::FromNative(bytes.substr(3));
    return KelmPlatform::FromNative(bytes);
}

std::string UnicodeText::EncodeUtf16LeWithBom(std::wstring_view text) {
    std::string out = "\xFF\xFE";
    out.reserve(2 + text.size() * 2);
    for (const wchar_t c : text) {
        const auto cp = static_cast<char32_t>(c);
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            AppendUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
            AppendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            // Code points past U+10FFFF cannot be stored; U+FFFD stands in.
            AppendUnit(out, cp > 0x10FFFF ? 0xFFFD : cp);
        }
    }
    return out;
}

} // namespace KelmLibraryUtils
