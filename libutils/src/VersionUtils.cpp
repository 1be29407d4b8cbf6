#include "KelmLibraryUtils/VersionUtils.h"

#include "KelmLibraryUtils/SystemUtils.h"

#include <KelmPlatform/NativeName.h>

#include <sys/stat.h>

namespace KelmLibraryUtils {
namespace {

// An empty CMake version part compiles to 0.
constexpr std::uint32_t kVersion[4] = {KELM_VERSION_MAJOR + 0, KELM_VERSION_MINOR + 0,
                                       KELM_VERSION_PATCH + 0, KELM_VERSION_TWEAK + 0};

std::wstring VersionText() {
    return std::to_wstring(kVersion[0]) + L"." + std::to_wstring(kVersion[1]) + L"." +
           std::to_wstring(kVersion[2]) + L"." + std::to_wstring(kVersion[3]);
}

std::wstring CompiledValue(const std::wstring& name) {
    const std::wstring company = KelmPlatform::FromNative(KELM_COMPANY_NAME);
    if (name == L"CompanyName")
        return company;
    if (name == L"ProductName")
        return KelmPlatform::FromNative(KELM_PRODUCT_NAME);
    if (name == L"ProductVersion" || name == L"FileVersion")
        return VersionText();
    if (name == L"LegalCopyright")
        return L"Copyright (C) " + company;
    return {};
}

// The program file, by name or as the same file reached another way.
bool IsProgramFile(const std::wstring& path) {
    const std::wstring program = SystemUtils::GetApplicationModuleFileName();
    if (path.empty() || program.empty())
        return false;
    if (path == program)
        return true;
    struct stat a;
    struct stat b;
    return stat(KelmPlatform::ToNative(path).c_str(), &a) == 0 &&
           stat(KelmPlatform::ToNative(program).c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

VERSIONINFOITEM ProgramVersionInfo() {
    const std::uint32_t ms = kVersion[0] << 16 | (kVersion[1] & 0xFFFF);
    const std::uint32_t ls = kVersion[2] << 16 | (kVersion[3] & 0xFFFF);
    return VERSIONINFOITEM{ms, ls, ms, ls};
}

VERSIONINFOITEM ProgramInfo() {
    return VersionUtils::GetVersionInfo(VersionUtils::GetProductModuleFileName());
}

} // namespace

std::wstring VersionUtils::GetProductModuleFileName() {
    return SystemUtils::GetApplicationModuleFileName();
}

std::wstring VersionUtils::GetStringVersionValue(const std::wstring& path,
                                                 const std::wstring& name) {
    return IsProgramFile(path) ? CompiledValue(name) : std::wstring();
}

std::wstring VersionUtils::GetCompanyName() {
    return GetStringVersionValue(GetProductModuleFileName(), L"CompanyName");
}

std::wstring VersionUtils::GetProductName() {
    return GetStringVersionValue(GetProductModuleFileName(), L"ProductName");
}

std::wstring VersionUtils::GetLegalCopyright() {
    return GetStringVersionValue(GetProductModuleFileName(), L"LegalCopyright");
}

std::wstring VersionUtils::GetStringProductVersion() {
    return GetStringProductVersion(GetProductModuleFileName());
}

std::wstring VersionUtils::GetStringProductVersion(const std::wstring& path) {
    return GetStringVersionValue(path, L"ProductVersion");
}

std::wstring VersionUtils::GetStringFileVersion() {
    return GetStringVersionValue(GetProductModuleFileName(), L"FileVersion");
}

int VersionUtils::GetFileMajorVersion() {
    return ProgramInfo().fileVersionMS >> 16;
}
int VersionUtils::GetFileMinorVersion() {
    return ProgramInfo().fileVersionMS & 0xFFFF;
}
int VersionUtils::GetFileRevisionVersion() {
    return ProgramInfo().fileVersionLS >> 16;
}
int VersionUtils::GetFileBuildVersion() {
    return ProgramInfo().fileVersionLS & 0xFFFF;
}
int VersionUtils::GetProductMajorVersion() {
    return ProgramInfo().productVersionMS >> 16;
}

VERSIONINFOITEM VersionUtils::GetVersionInfo(const std::wstring& path) {
    return IsProgramFile(path) ? ProgramVersionInfo() : VERSIONINFOITEM{};
}

} // namespace KelmLibraryUtils
