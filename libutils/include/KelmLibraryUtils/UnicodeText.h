#pragma once
// The byte forms of the text files the system keeps for itself. Settings
// files are written as UTF-16 little-endian with a byte-order mark, so that
// every character survives; they are read in that form, as UTF-16 big-endian
// with its mark, and as UTF-8 with or without a mark (bytes that are not
// valid UTF-8 are kept as U+DC80 + byte, as file names are).
#include <string>
#include <string_view>

namespace KelmLibraryUtils {

class UnicodeText {
public:
    // Decodes a whole file by its byte-order mark; without one, as UTF-8. A
    // truncated last code unit is dropped; unpaired surrogates are kept as
    // the code units they are, so they encode back to the same units.
    static std::wstring DecodeFileBytes(std::string_view bytes);

    // The bytes FF FE followed by `text` in UTF-16LE.
    static std::string EncodeUtf16LeWithBom(std::wstring_view text);
};

} // namespace KelmLibraryUtils
