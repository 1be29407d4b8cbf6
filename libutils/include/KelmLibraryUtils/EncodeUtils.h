#pragma once
// Text escapes for single-line records and for values put into web addresses.
#include <string>

namespace KelmLibraryUtils {

class EncodeUtils {
public:
    // `text` without line breaks: CR LF pairs removed, then any remaining LF.
    static std::wstring GetEscapeLineString(const std::wstring& text);
    // Percent-encodes "%" (first, so no code is encoded twice), then
    // < > # { } | ^ ~ [ ] ` blank ? &.
    static std::wstring GetTextToEncodeString(const std::wstring& text);
};

} // namespace KelmLibraryUtils
