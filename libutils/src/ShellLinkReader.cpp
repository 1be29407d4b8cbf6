#include "KelmLibraryUtils/ShellLinkReader.h"

#include "ShellLinkBytes.h"

#include <KelmPlatform/ContentReader.h>
#include <KelmPlatform/NativeName.h>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace KelmLibraryUtils {
namespace {

using ShellLink::Bytes;

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum LinkFlag : std::uint32_t {
    HasLinkTargetIdList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
    ForceNoLinkInfo = 0x100,
};

enum LinkInfoFlag : std::uint32_t {
    VolumeIdAndLocalBasePath = 0x1,
    CommonNetworkRelativeLinkAndPathSuffix = 0x2,
};

constexpr std::uint32_t kLinkInfoMinHeader = 0x1C;
constexpr std::uint32_t kLinkInfoUnicodeHeader = 0x24;
constexpr std::uint32_t kNetworkLinkMinSize = 0x14;
constexpr std::uint32_t kEnvironmentBlockSignature = 0xA0000001;
constexpr std::uint32_t kEnvironmentBlockSize = 0x314;

// A string of the link info: the Unicode variant when its offset is given,
// else the ANSI one. Offsets count from the start of the view.
bool ReadInfoString(const Bytes& info, std::uint32_t ansiOffset, std::uint32_t unicodeOffset,
                    std::wstring& text) {
    if (unicodeOffset != 0)
        return info.Utf16Z(unicodeOffset, text);
    return info.AnsiZ(ansiOffset, text);
}

// \\server\share joined with the path below it.
bool ReadNetworkBase(const Bytes& info, std::uint32_t offset, std::wstring& netName) {
    std::uint32_t size = 0, netNameOffset = 0, netNameOffsetUnicode = 0;
    Bytes link;
    if (!info.U32(offset, size) || size < kNetworkLinkMinSize || !info.Sub(offset, size, link) ||
        !link.U32(8, netNameOffset))
        return false;
    if (netNameOffset > kNetworkLinkMinSize && !link.U32(kNetworkLinkMinSize, netNameOffsetUnicode))
        return false;
    return ReadInfoString(link, netNameOffset, netNameOffsetUnicode, netName);
}

bool ParseLinkInfo(const Bytes& info, std::wstring& target) {
    std::uint32_t headerSize = 0, flags = 0, localOffset = 0, networkOffset = 0;
    std::uint32_t suffixOffset = 0, localOffsetUnicode = 0, suffixOffsetUnicode = 0;
    if (!info.U32(4, headerSize) || headerSize < kLinkInfoMinHeader || headerSize > info.Size() ||
        !info.U32(8, flags) || !info.U32(16, localOffset) || !info.U32(20, networkOffset) ||
        !info.U32(24, suffixOffset))
        return false;
    if (headerSize >= kLinkInfoUnicodeHeader &&
        (!info.U32(28, localOffsetUnicode) || !info.U32(32, suffixOffsetUnicode)))
        return false;
    std::wstring base, suffix;
    if (flags & VolumeIdAndLocalBasePath) {
        if (!ReadInfoString(info, localOffset, localOffsetUnicode, base))
            return false;
    } else if (flags & CommonNetworkRelativeLinkAndPathSuffix) {
        if (!ReadNetworkBase(info, networkOffset, base))
            return false;
    } else {
        return true; // a link info that names no path
    }
    if (!ReadInfoString(info, suffixOffset, suffixOffsetUnicode, suffix))
        return false;
    const bool needsSeparator = !(flags & VolumeIdAndLocalBasePath) && !suffix.empty() &&
                                !base.empty() && base.back() != L'\\';
    target = base + (needsSeparator ? L"\\" : L"") + suffix;
    return true;
}

// One counted string of the string data; advances `pos`.
bool ReadCountedString(const Bytes& bytes, bool unicode, std::size_t& pos, std::wstring& text) {
    std::uint32_t count = 0;
    if (!bytes.U16(pos, count))
        return false;
    pos += 2;
    const bool ok = unicode ? bytes.Utf16(pos, count, text) : bytes.Ansi(pos, count, text);
    pos += unicode ? 2 * std::size_t{count} : count;
    return ok;
}

bool ReadStringData(const Bytes& bytes, std::size_t& pos, SHELLLINKITEM& link) {
    const bool unicode = link.linkFlags & IsUnicode;
    const struct {
        LinkFlag flag;
        std::wstring SHELLLINKITEM::*field;
    } fields[] = {
        {HasName, &SHELLLINKITEM::name},
        {HasRelativePath, &SHELLLINKITEM::relativePath},
        {HasWorkingDir, &SHELLLINKITEM::workingDir},
        {HasArguments, &SHELLLINKITEM::arguments},
        {HasIconLocation, &SHELLLINKITEM::iconLocation},
    };
    for (const auto& field : fields) {
        if ((link.linkFlags & field.flag) &&
            !ReadCountedString(bytes, unicode, pos, link.*field.field))
            return false;
    }
    return true;
}

// The environment-variable block's target, e.g. %windir%\notepad.exe.
bool ReadEnvironmentTarget(const Bytes& block, std::wstring& target) {
    constexpr std::size_t kAnsiAt = 8, kAnsiSize = 260, kUnicodeAt = kAnsiAt + kAnsiSize;
    if (!block.Utf16(kUnicodeAt, kAnsiSize, target))
        return false;
    return !target.empty() || block.Ansi(kAnsiAt, kAnsiSize, target);
}

bool ReadExtraData(const Bytes& bytes, std::size_t pos, SHELLLINKITEM& link) {
    std::uint32_t blockSize = 0, signature = 0;
    while (pos < bytes.Size()) {
        if (!bytes.U32(pos, blockSize))
            return false;
        if (blockSize < 4)
            return true; // the terminal block
        Bytes block;
        if (!bytes.Sub(pos, blockSize, block) || !block.U32(4, signature))
            return false;
        if (signature == kEnvironmentBlockSignature && link.targetPath.empty()) {
            if (blockSize != kEnvironmentBlockSize ||
                !ReadEnvironmentTarget(block, link.targetPath))
                return false;
        }
        pos += blockSize;
    }
    return true;
}

bool ReadHeader(const Bytes& bytes, SHELLLINKITEM& link) {
    std::uint32_t headerSize = 0;
    return bytes.U32(0, headerSize) && headerSize == kHeaderSize && bytes.Fits(0, kHeaderSize) &&
           std::memcmp(bytes.Data() + 4, kLinkClsid, sizeof kLinkClsid) == 0 &&
           bytes.U32(0x14, link.linkFlags);
}

bool SkipIdList(const Bytes& bytes, std::size_t& pos) {
    std::uint32_t size = 0;
    if (!bytes.U16(pos, size) || !bytes.Fits(pos + 2, size))
        return false;
    pos += 2 + size;
    return true;
}

bool ReadLinkInfo(const Bytes& bytes, std::size_t& pos, SHELLLINKITEM& link) {
    std::uint32_t size = 0;
    Bytes info;
    if (!bytes.U32(pos, size) || size < kLinkInfoMinHeader || !bytes.Sub(pos, size, info))
        return false;
    pos += size;
    return (link.linkFlags & ForceNoLinkInfo) || ParseLinkInfo(info, link.targetPath);
}

} // namespace

int ShellLinkReader::Parse(const unsigned char* data, std::size_t size, SHELLLINKITEM& link) {
    link = SHELLLINKITEM{};
    const Bytes bytes(data, data ? size : 0);
    std::size_t pos = kHeaderSize;
    const bool ok = ReadHeader(bytes, link) &&
                    (!(link.linkFlags & HasLinkTargetIdList) || SkipIdList(bytes, pos)) &&
                    (!(link.linkFlags & HasLinkInfo) || ReadLinkInfo(bytes, pos, link)) &&
                    ReadStringData(bytes, pos, link) && ReadExtraData(bytes, pos, link);
    if (!ok)
        link = SHELLLINKITEM{};
    return ok ? 1 : 0;
}

std::wstring ShellLinkReader::GetTargetPath(const unsigned char* data, std::size_t size) {
    SHELLLINKITEM link;
    return Parse(data, size, link) ? link.targetPath : std::wstring();
}

std::wstring ShellLinkReader::ReadTargetPath(const std::wstring& path) {
    const KelmPlatform::ContentReader file(path);
    if (!file.IsOpen())
        return {};
    const int fd = file.Descriptor();
    struct stat st {};
    std::vector<unsigned char> data;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
        static_cast<std::uint64_t>(st.st_size) <= kMaxFileSize)
        data.resize(static_cast<std::size_t>(st.st_size) + 1); // one more byte shows growth
    std::size_t size = 0;
    ssize_t got = 1;
    while (size < data.size() && (got = ::read(fd, data.data() + size, data.size() - size)) > 0)
        size += static_cast<std::size_t>(got);
    if (data.empty() || got < 0 || size > kMaxFileSize)
        return {};
    return GetTargetPath(data.data(), size);
}

} // namespace KelmLibraryUtils
