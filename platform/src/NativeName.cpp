#include "KelmPlatform/NativeName.h"

namespace KelmPlatform {
namespace {

// Bytes 0x80..0xFF that are not UTF-8 become U+DC80..U+DCFF, the lone low
// surrogates no valid UTF-8 text can hold (the convention Python calls
// "surrogateescape").
constexpr wchar_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at `bytes[i]`, 0 when it is not one.
// Overlong forms, surrogates and values past U+10FFFF are not valid.
size_t ValidSequenceLength(std::string_view bytes, size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    size_t length;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2, min = 0x80, cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, min = 0x800, cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::wstring FromNative(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const size_t length = ValidSequenceLength(bytes, i, cp);
        if (length == 0) {
            out += static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(bytes[i]));
            ++i;
        } else {
            out += static_cast<wchar_t>(cp);
            i += length;
        }
    }
    return out;
}

std::string ToNative(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t wc : text) {
        const auto cp = static_cast<char32_t>(wc);
        // Only bytes 0x80..0xFF are ever escaped; other lone surrogates have
        // no byte form.
        if (cp >= kEscapeBase + 0x80 && cp <= kEscapeBase + 0xFF)
            out += static_cast<char>(cp - kEscapeBase);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            AppendUtf8(out, 0xFFFD);
        else
            AppendUtf8(out, cp);
    }
    return out;
}

} // namespace KelmPlatform
