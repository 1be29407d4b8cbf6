#pragma once
// Everything the item list shows of a photo's EXIF block, read in one open.
#include <string>

namespace KelmLibraryUtils {

struct EXIFITEM {
    // Tag texts by the value rules of ImageUtils (ASCII up to the first NUL,
    // SHORT and RATIONAL numerator as decimal, ExifVersion's four bytes);
    // empty when the tag is missing.
    std::wstring DateTimeOriginal;  // 0x9003
    std::wstring DateTimeDigitized; // 0x9004
    std::wstring DateTime;          // 0x0132
    std::wstring EquipMake;         // 0x010F
    std::wstring EquipModel;        // 0x0110
    std::wstring ExifVersion;       // 0x9000
    std::wstring Software;          // 0x0131
    std::wstring ExposureProgram;   // 0x8822
    int XResolution = 0;            // 0x011A numerator, 0 when missing
    int YResolution = 0;            // 0x011B numerator, 0 when missing
    int Width = 0;                  // pixels, 0 when unknown
    int Height = 0;
};

} // namespace KelmLibraryUtils
