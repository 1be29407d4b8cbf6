#include <KelmLibraryUtils/PathUtils.h>
#include <KelmLibraryUtils/SystemUtils.h>
#include <KelmPlatform/NativeName.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

using KelmLibraryUtils::PathUtils;
using KelmLibraryUtils::SystemUtils;

namespace {

bool IsFolder(const std::wstring& path) {
    return std::filesystem::is_directory(KelmPlatform::ToNative(path));
}

bool Exists(const std::wstring& path) {
    return std::filesystem::exists(KelmPlatform::ToNative(path));
}

// The program pretends to be `name` in a folder of its own, beside which a
// test can put portable.ini; the per-user data folder is TestMain's private
// XDG_DATA_HOME.
class ProgramLocation : public testing::Test {
protected:
    void SetUp() override { Pretend("KelmHoralux"); }
    void TearDown() override { SystemUtils::SetApplicationModuleFileNameForTesting(L""); }

    void Pretend(const std::string& name) {
        SystemUtils::SetApplicationModuleFileNameForTesting(
            program.Child(KelmPlatform::FromNative(name)));
    }
    void MakePortable(const std::string& contents) { program.MakeFile("portable.ini", contents); }
    std::wstring UserData() const {
        return KelmPlatform::FromNative(std::getenv("XDG_DATA_HOME")) + L"/Ostrel/Kelm Horalux";
    }

    kelmtest::TempDir program{"program"};
};

struct Location {
    const char* what;
    std::function<std::wstring()> get;
    std::wstring belowData; // relative to the data folder
};

const Location kDataLocations[] = {
    {"settings folder", PathUtils::GetApplicationSettingsPath, L"/Profiles/KelmHoralux"},
    {"settings file", PathUtils::GetApplicationSettingsFilePath,
     L"/Profiles/KelmHoralux/KelmHoralux.ini"},
    {"named file", [] { return PathUtils::GetCombineNameApplicationSettingsFilePath(L"x.ini"); },
     L"/Profiles/KelmHoralux/x.ini"},
    {"execute preview", PathUtils::GetExecutePreviewSettingsFilePath,
     L"/Profiles/KelmHoralux/executepreview.ini"},
    {"form view", PathUtils::GetFormViewSettingsFilePath, L"/Profiles/KelmHoralux/formview.ini"},
    {"toolbars", PathUtils::GetToolbarsFilePath, L"/Profiles/KelmHoralux/toolbars.ini"},
    {"rebar", PathUtils::GetRebarFilePath, L"/Profiles/KelmHoralux/rebar.ini"},
    {"property bar", PathUtils::GetPropertybarFilePath, L"/Profiles/KelmHoralux/propertybar.ini"},
    {"address history", PathUtils::GetAddressHistoryFilePath,
     L"/Profiles/KelmHoralux/addresshistory.ini"},
    {"filters", PathUtils::GetFiltersFilePath, L"/Profiles/KelmHoralux/filters.ini"},
    {"columns", PathUtils::GetColumnsFilePath, L"/Profiles/KelmHoralux/columns.ini"},
    {"updates", PathUtils::GetUpdatesFilePath, L"/Profiles/KelmHoralux/updates.ini"},
    {"change logs", PathUtils::GetLogFolderPath, L"/Log Files"},
    {"trace folder", PathUtils::GetApplicationLogFolderPath, L"/Log"},
    {"old settings", PathUtils::GetOldApplicationSettingsPath, L"/profile"},
};

void ExpectEverythingBelow(const std::wstring& data) {
    EXPECT_EQ(PathUtils::GetAppDataPath(), data);
    for (const Location& location : kDataLocations)
        EXPECT_EQ(location.get(), data + location.belowData) << location.what;
}

} // namespace

TEST_F(ProgramLocation, putsPerUserFilesBelowTheUserDataFolderWithCompanyAndProduct) {
    ExpectEverythingBelow(UserData());
    EXPECT_FALSE(PathUtils::IsPortableVersion());
    EXPECT_FALSE(Exists(program.Child(L"AppData")));
}

TEST_F(ProgramLocation, putsPerUserFilesBesideTheProgramWhenPortable) {
    MakePortable("[Portable]\r\nPortable=1\r\n");
    ASSERT_TRUE(PathUtils::IsPortableVersion());
    ExpectEverythingBelow(program.Child(L"AppData"));
    EXPECT_TRUE(IsFolder(program.Child(L"AppData/Log")));
}

TEST_F(ProgramLocation, createsTheFoldersItNamesAndNoOthers) {
    for (const bool portable : {false, true}) {
        if (portable)
            MakePortable("[Portable]\nPortable=1\n");
        const std::wstring data = PathUtils::GetAppDataPath();
        EXPECT_TRUE(IsFolder(data));
        EXPECT_TRUE(IsFolder(PathUtils::GetApplicationSettingsPath()));
        EXPECT_TRUE(IsFolder(PathUtils::GetLogFolderPath()));
        EXPECT_TRUE(IsFolder(PathUtils::GetApplicationLogFolderPath()));
        EXPECT_FALSE(Exists(PathUtils::GetOldApplicationSettingsPath()));
        EXPECT_FALSE(Exists(PathUtils::GetApplicationSettingsFilePath()));
        EXPECT_FALSE(Exists(PathUtils::GetDefaultsSettingsPath()));
    }
}

TEST_F(ProgramLocation, isPortableForAnyNonzeroMarkerValueReadAtEveryCall) {
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("[Portable]\r\nPortable=1\r\n"))
        utf16 += {c, '\0'};
    const struct {
        std::string contents;
        bool portable;
    } cases[] = {{"[Portable]\nPortable=1\n", true},  {"[portable]\nPORTABLE = 7\n", true},
                 {"[Portable]\nPortable=-1\n", true}, {utf16, true},
                 {"[Portable]\nPortable=0\n", false}, {"[Portable]\nOther=1\n", false},
                 {"[Other]\nPortable=1\n", false},    {"", false}};
    for (const auto& c : cases) {
        MakePortable(c.contents);
        EXPECT_EQ(PathUtils::IsPortableVersion() != 0, c.portable) << c.contents;
    }
    std::filesystem::remove(program.NativeChild("portable.ini"));
    EXPECT_FALSE(PathUtils::IsPortableVersion());
}

TEST_F(ProgramLocation, namesSettingsAndDefaultsAfterTheProgramFileWithoutItsExtension) {
    Pretend("X.exe");
    EXPECT_EQ(PathUtils::GetProgramBaseName(), L"X");
    EXPECT_EQ(PathUtils::GetApplicationSettingsFilePath(), UserData() + L"/Profiles/X/X.ini");
    EXPECT_EQ(PathUtils::GetDefaultsSettingsPath(), program.Path() + L"/defaults/X");
    EXPECT_EQ(PathUtils::GetDefaultsRebarFilePath(), program.Path() + L"/defaults/X/rebar.ini");
    EXPECT_EQ(PathUtils::GetDefaultsFiltersFilePath(), program.Path() + L"/defaults/X/filters.ini");
    EXPECT_EQ(PathUtils::GetDefaultsColumnsFilePath(), program.Path() + L"/defaults/X/columns.ini");
    EXPECT_EQ(PathUtils::GetCombineNameDefaultsSettingsFilePath(L"a.ini"),
              program.Path() + L"/defaults/X/a.ini");
    EXPECT_EQ(PathUtils::GetLocalDataUpdatesFilePath(), program.Path() + L"/updates.ini");
    EXPECT_EQ(PathUtils::GetLocalDataApplicationFilePath(), program.Path() + L"/application.ini");
    EXPECT_EQ(PathUtils::GetProgramFolderPath(), program.Path());
}

TEST_F(ProgramLocation, fallsBackToTheHomeDataFolderWithoutAnAbsoluteXdgDataHome) {
    const std::string saved = std::getenv("XDG_DATA_HOME");
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    kelmtest::TempDir home("home");
    setenv("HOME", home.Native().c_str(), 1);
    for (const char* xdg : {"", "relative/share"}) {
        setenv("XDG_DATA_HOME", xdg, 1);
        EXPECT_EQ(PathUtils::GetAppDataPath(), home.Path() + L"/.local/share/Ostrel/Kelm Horalux");
    }
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(PathUtils::GetAppDataPath(), home.Path() + L"/.local/share/Ostrel/Kelm Horalux");
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
    setenv("HOME", savedHome.c_str(), 1);
    EXPECT_TRUE(IsFolder(home.Path() + L"/.local/share/Ostrel/Kelm Horalux"));
}

TEST(PathUtilsNames, areTheFixedLiterals) {
    EXPECT_EQ(PathUtils::GetApplicationDataDirectoryName(), L"AppData");
    EXPECT_EQ(PathUtils::GetProfileDirectoryName(), L"profile");
    EXPECT_EQ(PathUtils::GetProfilesDirectoryName(), L"Profiles");
    EXPECT_EQ(PathUtils::GetLogDirectoryName(), L"Log Files");
    EXPECT_EQ(PathUtils::GetApplicationLogDirectoryName(), L"Log");
    EXPECT_EQ(PathUtils::GetDefaultsDirectoryName(), L"defaults");
    const std::wstring names[] = {PathUtils::GetExecutePreviewSettingsFileName(),
                                  PathUtils::GetFormViewSettingsFileName(),
                                  PathUtils::GetToolbarsFileName(),
                                  PathUtils::GetRebarFileName(),
                                  PathUtils::GetPropertybarFileName(),
                                  PathUtils::GetAddressHistoryFileName(),
                                  PathUtils::GetFiltersFileName(),
                                  PathUtils::GetColumnsFileName(),
                                  PathUtils::GetUpdatesFileName(),
                                  PathUtils::GetApplicationFileName()};
    const std::wstring expected[] = {
        L"executepreview.ini", L"formview.ini",       L"toolbars.ini", L"rebar.ini",
        L"propertybar.ini",    L"addresshistory.ini", L"filters.ini",  L"columns.ini",
        L"updates.ini",        L"application.ini"};
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(names[i], expected[i]);
}
