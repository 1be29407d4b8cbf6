#pragma once
// Facts about the running program and the system it runs on.
#include <string>

namespace KelmLibraryUtils {

class SystemUtils {
public:
    // The full path of the running program file (/proc/self/exe); empty when
    // the system cannot tell.
    static std::wstring GetApplicationModuleFileName();

    // Makes GetApplicationModuleFileName return `path`, so a test can place
    // the program, and with it portable.ini and the portable data folder, in
    // a temporary folder. An empty path restores the real one.
    static void SetApplicationModuleFileNameForTesting(const std::wstring& path);
};

} // namespace KelmLibraryUtils
