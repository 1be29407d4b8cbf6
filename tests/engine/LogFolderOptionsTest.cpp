#include <KelmEngine/LogFolderOptions.h>
#include <KelmLibraryUtils/FileUtils.h>
#include <KelmLibraryUtils/PathUtils.h>
#include <KelmLibraryUtils/ProfileUtils.h>

#include "TempDir.h"

#include <gtest/gtest.h>

using KelmEngine::LogFolderOptions;
using KelmLibraryUtils::PathUtils;
using KelmLibraryUtils::ProfileUtils;

TEST(TheLogFolderOptions, clampTheNumberOfLogsKeptOnLoad) {
    kelmtest::TempDir dir;
    const std::wstring settings = dir.Child(L"settings.ini");
    const struct {
        const wchar_t* stored;
        int loaded;
    } cases[] = {{L"0", 1},   {L"-5", 1},  {L"1", 1},      {L"7", 7},
                 {L"20", 20}, {L"21", 20}, {L"99999", 20}, {L"", 10}};
    for (const auto& c : cases) {
        ASSERT_TRUE(ProfileUtils::WritePrivateProfileString(L"Options\\General", L"LogFilesItems",
                                                            c.stored, settings));
        EXPECT_EQ(LogFolderOptions::Load(settings).LogFilesItems, c.loaded) << c.stored;
    }
}

TEST(TheLogFolderOptions, fallBackToTheDefaultFolderWhenTheStoredOneIsGone) {
    kelmtest::TempDir dir;
    const std::wstring settings = dir.Child(L"settings.ini");
    EXPECT_EQ(LogFolderOptions::Load(settings).LogFilesCurrentLocation,
              PathUtils::GetLogFolderPath());
    EXPECT_EQ(LogFolderOptions::Load(settings).LogFilesItems, 10);

    LogFolderOptions options;
    options.LogFilesItems = 4;
    options.LogFilesCurrentLocation = dir.MakeFolder("Moved") + L"/Log Files/";
    ASSERT_TRUE(options.Save(settings));
    EXPECT_EQ(LogFolderOptions::Load(settings).LogFilesCurrentLocation,
              PathUtils::GetLogFolderPath());

    dir.MakeFolder("Moved/Log Files");
    const LogFolderOptions loaded = LogFolderOptions::Load(settings);
    EXPECT_EQ(loaded.LogFilesItems, 4);
    EXPECT_EQ(loaded.LogFilesCurrentLocation, dir.Child(L"Moved/Log Files/"));
    EXPECT_EQ(loaded.GetFolderPath(), dir.Child(L"Moved/Log Files"));
}
