#pragma once
// The program's version information: company and product names, copyright
// and version numbers. Linux files carry no version resources, so the values
// are compiled into the library and belong to the program file alone; any
// other file gives empty texts and zero numbers.
#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

// The fixed numeric part of a version resource: each double word holds two
// 16-bit parts, the more significant one in the high word.
struct VERSIONINFOITEM {
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
};

class VersionUtils {
public:
    // The file whose version the forms without a path read: the program.
    static std::wstring GetProductModuleFileName();

    // The named string ("CompanyName", "ProductName", "ProductVersion",
    // "FileVersion", "LegalCopyright") of the file; empty when it has none.
    static std::wstring GetStringVersionValue(const std::wstring& path, const std::wstring& name);
    static std::wstring GetCompanyName();
    static std::wstring GetProductName();
    static std::wstring GetLegalCopyright();
    static std::wstring GetStringProductVersion();
    static std::wstring GetStringProductVersion(const std::wstring& path);
    static std::wstring GetStringFileVersion();

    static int GetFileMajorVersion();
    static int GetFileMinorVersion();
    static int GetFileRevisionVersion();
    static int GetFileBuildVersion();
    static int GetProductMajorVersion();

    // All zero when the file has no version information.
    static VERSIONINFOITEM GetVersionInfo(const std::wstring& path);
};

} // namespace KelmLibraryUtils
