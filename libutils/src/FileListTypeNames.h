#pragma once
// The type name of an item from its file name (FileListUtils::GetTypeName
// without the query of the item, for callers that already made it).
#include <string>

namespace KelmLibraryUtils {

class FileListTypeNames {
public:
    // `fileName` is the last part of `path`; `folder` gives the folder type
    // name. An extension shared-mime-info does not know gives the fallback
    // form "EXT <fallback>".
    static std::wstring Of(const std::wstring& path, const std::wstring& fileName, bool folder,
                           const std::wstring& fallback);
};

} // namespace KelmLibraryUtils
