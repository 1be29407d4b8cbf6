#pragma once
// Removes the download block mark from a file, also from a read-only one.
#include <string>

namespace KelmLibraryFuncs {

class UnblockFuncs {
public:
    // Nonzero when the file carries no block mark afterwards. A read-only
    // file is made writable for the removal and read-only again after it,
    // whether or not the removal worked; when that fails the result is 0.
    static int DeleteZoneIdentifier(const std::wstring& path);
};

} // namespace KelmLibraryFuncs
