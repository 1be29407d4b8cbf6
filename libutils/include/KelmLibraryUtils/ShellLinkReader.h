#pragma once
// Reader of Windows shell link (.lnk) files in the published binary format:
// the header, the optional item id list (skipped), the link info with its
// local or network base path, the string data and the extra data blocks.
// It works on a byte buffer and checks every offset and size before use, so
// corrupt or truncated input gives an empty result, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

struct SHELLLINKITEM {
    std::uint32_t linkFlags = 0;
    std::wstring targetPath; // as stored, e.g. C:\x\y.txt
    std::wstring name;
    std::wstring relativePath;
    std::wstring workingDir;
    std::wstring arguments;
    std::wstring iconLocation;
};

class ShellLinkReader {
public:
    // Larger files are not shell links worth reading.
    static constexpr std::size_t kMaxFileSize = 1 << 20;

    // Nonzero when `data` is a well-formed shell link; fills `link`.
    static int Parse(const unsigned char* data, std::size_t size, SHELLLINKITEM& link);

    // The stored target path of the link in `data`, empty when there is none.
    static std::wstring GetTargetPath(const unsigned char* data, std::size_t size);

    // Reads the file (at most kMaxFileSize bytes) and returns its target path.
    static std::wstring ReadTargetPath(const std::wstring& path);
};

} // namespace KelmLibraryUtils
