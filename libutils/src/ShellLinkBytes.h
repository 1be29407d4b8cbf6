#pragma once
// A bounds-checked little-endian view of the bytes of a shell link, and the
// text decoders its strings need. Every read says whether it fitted.
#include <cstddef>
#include <cstdint>
#include <string>

namespace KelmLibraryUtils::ShellLink {

class Bytes {
public:
    Bytes() = default;
    Bytes(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Size() const { return m_size; }
    const unsigned char* Data() const { return m_data; }
    bool Fits(std::size_t at, std::size_t count) const {
        return at <= m_size && count <= m_size - at;
    }
    bool U16(std::size_t at, std::uint32_t& value) const;
    bool U32(std::size_t at, std::uint32_t& value) const;
    // The `count` bytes at `at` as a view of their own.
    bool Sub(std::size_t at, std::size_t count, Bytes& part) const;
    // A NUL-terminated string that must end inside the view.
    bool AnsiZ(std::size_t at, std::wstring& text) const;
    bool Utf16Z(std::size_t at, std::wstring& text) const;
    // `count` UTF-16 code units, cut at the first NUL.
    bool Utf16(std::size_t at, std::size_t count, std::wstring& text) const;
    // `count` ANSI bytes, cut at the first NUL.
    bool Ansi(std::size_t at, std::size_t count, std::wstring& text) const;

private:
    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
};

// UTF-16LE to wide text; unpaired surrogates become U+FFFD.
std::wstring DecodeUtf16(const unsigned char* data, std::size_t units);
// Text in the Windows ANSI code page: the Japanese one (CP932) the links of
// our users carry, Windows-1252 when the bytes are not valid CP932.
std::wstring DecodeAnsi(const unsigned char* data, std::size_t size);

} // namespace KelmLibraryUtils::ShellLink
