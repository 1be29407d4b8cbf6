#include <KelmLibraryUtils/SystemUtils.h>
#include <KelmLibraryUtils/VersionUtils.h>
#include <KelmPlatform/NativeName.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using KelmLibraryUtils::SystemUtils;
using KelmLibraryUtils::VersionUtils;

TEST(TheProgramFile, isTheRunningExecutable) {
    const std::wstring program = SystemUtils::GetApplicationModuleFileName();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.front(), L'/');
    EXPECT_TRUE(program.ends_with(L"/VersionUtilsTest")) << KelmPlatform::ToNative(program);
    EXPECT_TRUE(std::filesystem::equivalent(KelmPlatform::ToNative(program), "/proc/self/exe"));

    SystemUtils::SetApplicationModuleFileNameForTesting(L"/opt/kelm/KelmHoralux");
    EXPECT_EQ(SystemUtils::GetApplicationModuleFileName(), L"/opt/kelm/KelmHoralux");
    EXPECT_EQ(VersionUtils::GetProductModuleFileName(), L"/opt/kelm/KelmHoralux");
    SystemUtils::SetApplicationModuleFileNameForTesting(L"");
    EXPECT_EQ(SystemUtils::GetApplicationModuleFileName(), program);
}

TEST(TheProgramVersion, isTheCompiledInOne) {
    EXPECT_EQ(VersionUtils::GetCompanyName(), L"Ostrel");
    EXPECT_EQ(VersionUtils::GetProductName(), L"Kelm Horalux");
    EXPECT_FALSE(VersionUtils::GetLegalCopyright().empty());

    const std::wstring parts = std::to_wstring(VersionUtils::GetFileMajorVersion()) + L"." +
                               std::to_wstring(VersionUtils::GetFileMinorVersion()) + L"." +
                               std::to_wstring(VersionUtils::GetFileRevisionVersion()) + L"." +
                               std::to_wstring(VersionUtils::GetFileBuildVersion());
    EXPECT_EQ(VersionUtils::GetStringFileVersion(), parts);
    EXPECT_EQ(VersionUtils::GetStringProductVersion(), parts);
    EXPECT_EQ(VersionUtils::GetProductMajorVersion(), VersionUtils::GetFileMajorVersion());

    const KelmLibraryUtils::VERSIONINFOITEM info =
        VersionUtils::GetVersionInfo(SystemUtils::GetApplicationModuleFileName());
    EXPECT_EQ(info.fileVersionMS >> 16, static_cast<unsigned>(VersionUtils::GetFileMajorVersion()));
    EXPECT_EQ(info.fileVersionLS & 0xFFFF,
              static_cast<unsigned>(VersionUtils::GetFileBuildVersion()));
    EXPECT_EQ(VersionUtils::GetStringVersionValue(VersionUtils::GetProductModuleFileName(),
                                                  L"NoSuchName"),
              L"");
}

// Linux files carry no version resources: only the program has a version.
TEST(AnotherFile, hasNoVersionInformation) {
    kelmtest::TempDir dir("version");
    const std::wstring other = dir.MakeFile("other.exe");
    const std::wstring missing = dir.Child(L"missing.exe");
    for (const std::wstring& path : {other, missing}) {
        EXPECT_EQ(VersionUtils::GetStringVersionValue(path, L"CompanyName"), L"");
        EXPECT_EQ(VersionUtils::GetStringProductVersion(path), L"");
        const KelmLibraryUtils::VERSIONINFOITEM info = VersionUtils::GetVersionInfo(path);
        EXPECT_EQ(info.fileVersionMS | info.fileVersionLS | info.productVersionMS |
                      info.productVersionLS,
                  0u);
    }
    // A link to the program is the program.
    std::filesystem::create_symlink("/proc/self/exe", dir.NativeChild("link"));
    EXPECT_EQ(VersionUtils::GetStringVersionValue(dir.Child(L"link"), L"ProductName"),
              L"Kelm Horalux");
}
