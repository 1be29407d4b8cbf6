#include "KelmLibraryFuncs/UnblockFuncs.h"

#include <KelmLibraryUtils/FileUtils.h>
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>

#include <cstdint>

namespace KelmLibraryFuncs {

using KelmLibraryUtils::FileUtils;

int UnblockFuncs::DeleteZoneIdentifier(const std::wstring& path) {
    std::uint32_t attributes = 0;
    if (!FileUtils::IsReadOnly(path) || !KelmPlatform::ReadItemAttributes(path, attributes))
        return FileUtils::DeleteZoneIdentifier(path);
    // Only the read-only bit changes; the others are written back as read.
    const bool cleared = KelmPlatform::WriteItemAttributes(
        path, attributes & ~std::uint32_t{KelmPlatform::kReadOnly});
    const int result = FileUtils::DeleteZoneIdentifier(path);
    // A file that silently stayed writable would be a change nobody asked for.
    if (cleared && !KelmPlatform::WriteItemAttributes(path, attributes))
        return 0;
    return result;
}

} // namespace KelmLibraryFuncs
