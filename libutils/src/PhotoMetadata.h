#pragma once
// The EXIF tags and pixel size of one photo, read with one open of the file.
// Exiv2 reports every problem by throwing; this class keeps all of that
// inside and reports a file it cannot read as not loaded, with no tags.
#include <exiv2/exif.hpp>

#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

class PhotoMetadata {
public:
    explicit PhotoMetadata(const std::wstring& path);

    bool Loaded() const { return m_loaded; }
    // The text of a tag of the main image (IFD0 or the EXIF IFD) by its
    // type: ASCII up to the first NUL, the first SHORT, the numerator of the
    // first RATIONAL, the bytes of ExifVersion; empty for any other type or a
    // missing tag.
    std::wstring TagText(std::uint16_t tag) const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The key of the tag of the main image as `exif` holds it (the first in
    // IFD0 or the EXIF IFD, where a damaged or odd file may have put it);
    // empty when it is missing.
    static std::string FindMainImageKey(const Exiv2::ExifData& exif, std::uint16_t tag);

    // Exiv2 writes warnings about damaged files to stderr unless told not
    // to; every entry point calls this first.
    static void SilenceLog();

private:
    bool m_loaded = false;
    Exiv2::ExifData m_exif;
    int m_width = 0;
    int m_height = 0;
};

// EXIF text bytes as wide text: UTF-8 when they are valid UTF-8, else one
// character per byte (Latin-1), so that a camera's odd bytes still show.
std::wstring ExifBytesToText(const std::string& bytes);

} // namespace KelmLibraryUtils
