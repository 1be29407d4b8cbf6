#pragma once
// File and path helpers: splitting and joining paths, existence and attribute
// tests, item sizes and their display texts, the block mark, temporary files,
// link targets and well-known locations. No state; nothing throws.
//
// Paths are Linux paths: "/" separates, there is no drive (the drive part is
// always empty), a full path starts with "/", and paths compare exactly.
#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

class FileUtils {
public:
    // Parts of GetSplitPath.
    enum SplitPart {
        Drive = 0,
        DriveDir = 1,
        DriveDirName = 2,
        WholePath = 3,
        NameExt = 4,
        Name = 5,
        Ext = 6,
    };
    // Units of the size text.
    enum SizeUnit { Automatic = 0, Bytes = 1, KiloBytes = 2, MegaBytes = 3, GigaBytes = 4 };

    // Splitting and joining.
    static std::wstring GetSplitPath(const std::wstring& path, int part);
    static std::wstring GetSplitDirPath(const std::wstring& path);
    static std::wstring GetSplitFNamePath(const std::wstring& path);
    static std::wstring GetSplitFileName(const std::wstring& path);
    static std::wstring GetSplitFNameExtOnlyPath(const std::wstring& path);
    static std::wstring GetSplitFName(const std::wstring& path);
    static std::wstring GetSplitExtOnlyPath(const std::wstring& path);
    static std::wstring GetSplitExtension(const std::wstring& path, int withDot);
    static std::wstring GetReplaceExtension(const std::wstring& path, const std::wstring& ext);
    static std::wstring GetPathRemoveBackslash(const std::wstring& path);
    static std::wstring GetPathAddBackslash(const std::wstring& path);
    static std::wstring GetCombinePath(const std::wstring& folder, const std::wstring& name);
    static int IsCompareFilePath(const std::wstring& a, const std::wstring& b, int withExtension);
    static int IsValidFileName(const std::wstring& name);

    // Program and system locations.
    static std::wstring GetModuleFilePath();
    static std::wstring GetModuleFolderPath();
    static std::wstring GetAppFileName();
    static std::wstring GetSystemFilePath(const std::wstring& name);
    static std::wstring GetWindowsUser32Path();
    static std::wstring GetWindowsSystemAppsDirectoryPath();
    static std::wstring GetSendToPath();
    static std::wstring GetTargetPath(const std::wstring& linkPath);

    // Tests (nonzero = yes).
    static int FileExists(const std::wstring& path);
    static int IsDirectory(const std::wstring& path);
    static int IsReadOnly(const std::wstring& path);

    // Sizes.
    static std::int64_t GetFileSize(const std::wstring& path);
    static std::wstring GetFileSize(std::int64_t size, int unit);
    static std::wstring GetStrFormatSizeOff(const std::wstring& text);

    // Files.
    static std::wstring CreateTempFile(const std::wstring& prefix, const std::wstring& folder,
                                       unsigned unique);

    // The block mark of a downloaded item.
    static int ZoneIdentifierExists(const std::wstring& path);
    static int DeleteZoneIdentifier(const std::wstring& path);
};

} // namespace KelmLibraryUtils
