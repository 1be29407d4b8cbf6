#include "ChangeLogTestItems.h"

#include <KelmEngine/ChangeLogFolder.h>
#include <KelmEngine/ChangeLogWriter.h>
#include <KelmLibraryUtils/FileUtils.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

using KelmEngine::ChangeLogFolder;
using KelmEngine::ChangeLogWriter;
using KelmLibraryUtils::FileUtils;
using kelmtest::MakeEntry;
using kelmtest::SetModified;

namespace {

std::vector<std::wstring> Names(const std::vector<KelmEngine::ChangeLogFileInfo>& files) {
    std::vector<std::wstring> names;
    for (const auto& file : files)
        names.push_back(FileUtils::GetSplitFileName(file.Path));
    return names;
}

// Log files log1.log ... logN.log, the lower numbers older.
void MakeLogs(const kelmtest::TempDir& dir, int count) {
    for (int i = 1; i <= count; ++i)
        SetModified(dir.MakeFile("log" + std::to_string(i) + ".log"), 1'700'000'000 + i * 60);
}

std::wstring WriteOne(const kelmtest::TempDir& dir) {
    std::wstring logPath;
    EXPECT_TRUE(ChangeLogWriter::WriteLog(dir.Path(), {MakeEntry(L"/a")}, L"/", logPath));
    return logPath;
}

} // namespace

TEST(ALogFileName, isLogThenHexadecimalDigitsThenTheExtension) {
    const struct {
        const wchar_t* name;
        int isLog;
    } cases[] = {
        {L"log1.log", 1},     {L"logA3F.log", 1}, {L"logffff.log", 1}, {L"log12345678.log", 1},
        {L"log.log", 0},      {L"logG1.log", 0},  {L"log1.LOG", 0},    {L"Log1.log", 0},
        {L"log1.log.bak", 0}, {L"log1.tmp", 0},   {L"notes.txt", 0},   {L"log 1.log", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChangeLogFolder::IsLogFileName(c.name), c.isLog) << c.name;
    EXPECT_EQ(ChangeLogFolder::MakeLogFileName(0xA3F, L".log"), L"logA3F.log");
    EXPECT_TRUE(ChangeLogFolder::IsLogFileName(L"log1C.journal", L".journal"));
}

TEST(ALogFolder, neverWritesOverAnExistingLog) {
    kelmtest::TempDir dir;
    const std::wstring existing = dir.MakeFile("log1F.log", "keep me");
    std::wstring logPath;
    ASSERT_TRUE(ChangeLogWriter::WriteLog(dir.Path(), {MakeEntry(L"/a")}, L"", L"now", L"log1F.log",
                                          logPath));
    EXPECT_NE(logPath, existing);
    EXPECT_TRUE(ChangeLogFolder::IsLogFileName(FileUtils::GetSplitFileName(logPath)));
    EXPECT_EQ(FileUtils::GetFileSize(existing), 7);
    std::vector<std::wstring> names;
    for (int i = 0; i < 20; ++i)
        names.push_back(WriteOne(dir));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
}

TEST(ALogFolder, keepsTheConfiguredNumberOfLogsDeletingTheOldest) {
    const struct {
        int present, keep;
        std::vector<std::wstring> left; // besides the new log
    } cases[] = {
        {10,
         10,
         {L"log2.log", L"log3.log", L"log4.log", L"log5.log", L"log6.log", L"log7.log", L"log8.log",
          L"log9.log", L"logA.log"}},
        {7, 3, {L"log6.log", L"log7.log"}},
        {2, 5, {L"log1.log", L"log2.log"}},
        {3, 1, {}},
    };
    for (const auto& c : cases) {
        kelmtest::TempDir dir;
        for (int i = 1; i <= c.present; ++i)
            SetModified(dir.MakeFile("log" + std::string(1, "0123456789A"[i]) + ".log"),
                        1'700'000'000 + i * 60);
        const std::wstring newLog = WriteOne(dir);
        SetModified(newLog, 1'600'000'000); // even an odd clock never costs the new log
        EXPECT_TRUE(ChangeLogFolder::TrimLogFiles(dir.Path(), c.keep, newLog));
        std::vector<std::wstring> left = c.left;
        left.insert(left.begin(), FileUtils::GetSplitFileName(newLog));
        EXPECT_EQ(Names(ChangeLogFolder::ListLogFilesOldestFirst(dir.Path())), left)
            << c.present << " " << c.keep;
    }
}

TEST(ALogFolder, neverCountsListsOrDeletesOtherItems) {
    kelmtest::TempDir dir;
    MakeLogs(dir, 4);
    const std::wstring notes = dir.MakeFile("notes.txt");
    const std::wstring lookalike = dir.MakeFile("log1.log.bak");
    const std::wstring journal = dir.MakeFile("log9.journal");
    dir.MakeFolder("logA.log");
    const std::wstring outside = dir.MakeFile("outside.txt");
    ASSERT_EQ(symlink(dir.NativeChild("outside.txt").c_str(), dir.NativeChild("logB.log").c_str()),
              0);
    SetModified(notes, 1);

    EXPECT_EQ(Names(ChangeLogFolder::ListLogFilesOldestFirst(dir.Path())),
              (std::vector<std::wstring>{L"log1.log", L"log2.log", L"log3.log", L"log4.log"}));
    EXPECT_TRUE(ChangeLogFolder::TrimLogFiles(dir.Path(), 2, L""));
    EXPECT_EQ(Names(ChangeLogFolder::ListLogFilesOldestFirst(dir.Path())),
              (std::vector<std::wstring>{L"log3.log", L"log4.log"}));

    EXPECT_TRUE(ChangeLogFolder::DeleteAllLogFiles(dir.Path()));
    EXPECT_TRUE(ChangeLogFolder::ListLogFiles(dir.Path()).empty());
    for (const std::wstring& kept : {notes, lookalike, journal, outside, dir.Child(L"logA.log")})
        EXPECT_TRUE(FileUtils::FileExists(kept)) << KelmPlatform::ToNative(kept);
    EXPECT_TRUE(FileUtils::FileExists(dir.Child(L"logB.log")));
}

TEST(ALogFolder, isRemovedByDeleteAllWhenOnlyLogsWereInIt) {
    kelmtest::TempDir dir;
    const std::wstring folder = dir.MakeFolder("Log Files");
    std::wstring logPath;
    ASSERT_TRUE(ChangeLogWriter::WriteLog(folder, {MakeEntry(L"/a")}, L"", logPath));
    EXPECT_TRUE(ChangeLogFolder::DeleteAllLogFiles(folder));
    EXPECT_FALSE(FileUtils::FileExists(folder));
    EXPECT_TRUE(ChangeLogFolder::DeleteAllLogFiles(folder)); // nothing to do
    ASSERT_TRUE(ChangeLogWriter::WriteLog(folder, {MakeEntry(L"/a")}, L"", logPath));
    EXPECT_TRUE(FileUtils::FileExists(logPath));
}

TEST(ALogFolder, listsItsLogsNewestFirstWithTheirHeaders) {
    kelmtest::TempDir dir;
    std::wstring older, newer;
    ASSERT_TRUE(
        ChangeLogWriter::WriteLog(dir.Path(), {MakeEntry(L"/a")}, L"/first", L"d1", L"", older));
    ASSERT_TRUE(ChangeLogWriter::WriteLog(dir.Path(), {MakeEntry(L"/a"), MakeEntry(L"/b")},
                                          L"/second", L"d2", L"", newer));
    SetModified(older, 1'700'000'000);
    SetModified(newer, 1'700'000'060);
    dir.MakeFile("readme.txt");
    const auto logs = ChangeLogFolder::ListLogsNewestFirst(dir.Path() + L"/");
    ASSERT_EQ(logs.size(), 2u);
    EXPECT_EQ(FileUtils::GetSplitFileName(logs[0].Path), FileUtils::GetSplitFileName(newer));
    EXPECT_EQ(logs[0].Header.Address, L"/second");
    EXPECT_EQ(logs[0].Header.DateTime, L"d2");
    EXPECT_EQ(logs[0].Header.Count, 2);
    EXPECT_EQ(logs[1].Header.Address, L"/first");
    EXPECT_EQ(logs[1].Header.Count, 1);
}
