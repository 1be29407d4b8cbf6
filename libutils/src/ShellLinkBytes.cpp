#include "ShellLinkBytes.h"

#include <cstring>
#include <iconv.h>

namespace KelmLibraryUtils::ShellLink {

bool Bytes::U16(std::size_t at, std::uint32_t& value) const {
    if (!Fits(at, 2))
        return false;
    value = m_data[at] | (std::uint32_t{m_data[at + 1]} << 8);
    return true;
}

bool Bytes::U32(std::size_t at, std::uint32_t& value) const {
    if (!Fits(at, 4))
        return false;
    value = m_data[at] | (std::uint32_t{m_data[at + 1]} << 8) |
            (std::uint32_t{m_data[at + 2]} << 16) | (std::uint32_t{m_data[at + 3]} << 24);
    return true;
}

bool Bytes::Sub(std::size_t at, std::size_t count, Bytes& part) const {
    if (!Fits(at, count))
        return false;
    part = Bytes(m_data + at, count);
    return true;
}

bool Bytes::AnsiZ(std::size_t at, std::wstring& text) const {
    if (at >= m_size)
        return false;
    const void* end = std::memchr(m_data + at, 0, m_size - at);
    if (!end)
        return false;
    text = DecodeAnsi(m_data + at, static_cast<const unsigned char*>(end) - (m_data + at));
    return true;
}

bool Bytes::Utf16Z(std::size_t at, std::wstring& text) const {
    for (std::size_t i = at; Fits(i, 2); i += 2) {
        if (m_data[i] == 0 && m_data[i + 1] == 0) {
            text = DecodeUtf16(m_data + at, (i - at) / 2);
            return true;
        }
    }
    return false;
}

bool Bytes::Utf16(std::size_t at, std::size_t count, std::wstring& text) const {
    if (count > m_size / 2 || !Fits(at, count * 2))
        return false;
    text = DecodeUtf16(m_data + at, count);
    text.resize(std::wcslen(text.c_str()));
    return true;
}

bool Bytes::Ansi(std::size_t at, std::size_t count, std::wstring& text) const {
    if (!Fits(at, count))
        return false;
    const void* end = std::memchr(m_data + at, 0, count);
    const std::size_t length = end ? static_cast<const unsigned char*>(end) - (m_data + at) : count;
    text = DecodeAnsi(m_data + at, length);
    return true;
}

std::wstring DecodeUtf16(const unsigned char* data, std::size_t units) {
    std::wstring text;
    text.reserve(units);
    auto unit = [data](std::size_t i) -> char32_t { return data[2 * i] | (data[2 * i + 1] << 8); };
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) < 0xE000) {
            text += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u < 0xE000) {
            text += L'\xFFFD';
        } else {
            text += static_cast<wchar_t>(u);
        }
    }
    return text;
}

namespace {

// Converts all of `data` from `codePage`; false when any byte does not decode.
bool Convert(const char* codePage, const unsigned char* data, std::size_t size,
             std::wstring& text) {
    iconv_t cd = iconv_open("WCHAR_T", codePage);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::wstring out(size, L'\0'); // no code page yields more characters than bytes
    char* in = const_cast<char*>(reinterpret_cast<const char*>(data));
    std::size_t inLeft = size;
    char* outPtr = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size() * sizeof(wchar_t);
    const bool ok =
        iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
    iconv_close(cd);
    if (!ok)
        return false;
    out.resize(out.size() - outLeft / sizeof(wchar_t));
    text = std::move(out);
    return true;
}

bool IsAscii(const unsigned char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] >= 0x80)
            return false;
    }
    return true;
}

} // namespace

std::wstring DecodeAnsi(const unsigned char* data, std::size_t size) {
    std::wstring text;
    if (IsAscii(data, size))
        return std::wstring(data, data + size);
    if (Convert("CP932", data, size, text) || Convert("CP1252", data, size, text))
        return text;
    return std::wstring(data, data + size); // Latin-1: every byte maps to a character
}

} // namespace KelmLibraryUtils::ShellLink
