#include "ChangeLogTestItems.h"

#include <KelmEngine/ChangeLogFile.h>
#include <KelmEngine/ChangeLogFolder.h>
#include <KelmEngine/ChangeLogJournal.h>
#include <KelmEngine/ChangeLogReader.h>
#include <KelmEngine/ChangeLogWriter.h>
#include <KelmLibraryUtils/FileUtils.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

using KelmEngine::ChangeLogEntries;
using KelmEngine::ChangeLogFile;
using KelmEngine::ChangeLogFolder;
using KelmEngine::ChangeLogHeader;
using KelmEngine::CHANGELOGITEM;
using KelmEngine::ChangeLogJournal;
using KelmEngine::ChangeLogReader;
using KelmLibraryUtils::FileUtils;
using kelmtest::MakeEntry;

namespace {

std::vector<CHANGELOGITEM> Entries(int count) {
    std::vector<CHANGELOGITEM> items;
    for (int i = 0; i < count; ++i)
        items.push_back(MakeEntry(L"/run/item \"" + std::to_wstring(i) + L"\",x", 1000 * (i + 1)));
    return items;
}

ChangeLogEntries ReadLog(const std::wstring& path) {
    ChangeLogEntries entries;
    EXPECT_TRUE(ChangeLogReader::ReadEntries(path, entries));
    return entries;
}

// A run that journals `count` entries and is killed before it ends.
void KilledRun(const std::wstring& folder, int count) {
    const pid_t child = fork();
    if (child == 0) {
        ChangeLogJournal journal(folder, L"/run");
        for (const CHANGELOGITEM& item : Entries(count))
            journal.Append(item);
        ::kill(::getpid(), SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
}

} // namespace

TEST(AJournal, becomesANormalLogWhenTheRunEnds) {
    kelmtest::TempDir dir;
    for (int i = 1; i <= 3; ++i)
        kelmtest::SetModified(dir.MakeFile("log" + std::to_string(i) + ".log"), 1'700'000'000 + i);
    const std::vector<CHANGELOGITEM> items = Entries(3);
    ChangeLogJournal journal(dir.Path(), L"/run");
    for (const CHANGELOGITEM& item : items)
        ASSERT_TRUE(journal.Append(item));
    const std::wstring journalPath = journal.Path();
    EXPECT_TRUE(FileUtils::FileExists(journalPath));
    EXPECT_EQ(journal.Count(), 3u);

    std::wstring logPath;
    ASSERT_TRUE(journal.Finish(items, L"/run/", 2, logPath));
    EXPECT_FALSE(FileUtils::FileExists(journalPath));
    EXPECT_EQ(FileUtils::GetSplitFName(logPath), FileUtils::GetSplitFName(journalPath));
    EXPECT_EQ(ReadLog(logPath).Items.size(), 3u);
    const auto left = ChangeLogFolder::ListLogFilesOldestFirst(dir.Path());
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(FileUtils::GetSplitFileName(left[0].Path), L"log3.log");
}

TEST(AJournal, leavesNothingWhenNoItemWasProcessed) {
    kelmtest::TempDir dir;
    ChangeLogJournal journal(dir.Path());
    std::wstring logPath;
    EXPECT_FALSE(journal.Finish({}, L"", 10, logPath));
    EXPECT_TRUE(journal.Path().empty());
    EXPECT_TRUE(ChangeLogFolder::ListLogFiles(dir.Path()).empty());
    EXPECT_TRUE(
        ChangeLogFolder::ListLogFiles(dir.Path(), ChangeLogJournal::kJournalExtension).empty());
}

TEST(AJournal, ofARunKilledPartWayIsRecoveredAsALogOfEveryEntry) {
    kelmtest::TempDir dir;
    const std::wstring folder = dir.Child(L"Log Files");
    KilledRun(folder, 5);
    ASSERT_EQ(ChangeLogFolder::ListLogFiles(folder, ChangeLogJournal::kJournalExtension).size(),
              1u);
    EXPECT_TRUE(ChangeLogFolder::ListLogFiles(folder).empty());

    std::vector<std::wstring> recovered;
    ASSERT_TRUE(ChangeLogJournal::RecoverJournals(folder, &recovered));
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_TRUE(ChangeLogFolder::ListLogFiles(folder, ChangeLogJournal::kJournalExtension).empty());
    ChangeLogHeader header;
    ASSERT_TRUE(ChangeLogReader::ReadHeader(recovered[0], header));
    EXPECT_EQ(header.Address, L"/run");
    EXPECT_EQ(header.Count, 5);
    const ChangeLogEntries entries = ReadLog(recovered[0]);
    const std::vector<CHANGELOGITEM> expected = Entries(5);
    ASSERT_EQ(entries.Items.size(), 5u);
    EXPECT_TRUE(entries.Unusable.empty());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(entries.Items[i].Path, expected[i].Path);
        EXPECT_EQ(entries.Items[i].TimesBefore.modified, expected[i].TimesBefore.modified);
    }
    EXPECT_TRUE(ChangeLogJournal::RecoverJournals(folder, &recovered)); // nothing left to do
    EXPECT_EQ(recovered.size(), 1u);
}

TEST(AJournal, dropsATornLastEntryOnRecovery) {
    kelmtest::TempDir dir;
    KilledRun(dir.Path(), 3);
    const auto journals =
        ChangeLogFolder::ListLogFiles(dir.Path(), ChangeLogJournal::kJournalExtension);
    ASSERT_EQ(journals.size(), 1u);
    const std::string native = KelmPlatform::ToNative(journals[0].Path);
    ASSERT_EQ(truncate(native.c_str(), FileUtils::GetFileSize(journals[0].Path) - 9), 0);

    std::vector<std::wstring> recovered;
    ASSERT_TRUE(ChangeLogJournal::RecoverJournals(dir.Path(), &recovered));
    ASSERT_EQ(recovered.size(), 1u);
    const ChangeLogEntries entries = ReadLog(recovered[0]);
    EXPECT_EQ(entries.Items.size(), 2u);
    EXPECT_TRUE(entries.Unusable.empty());
}

// A run that died between writing its log and removing its journal.
TEST(AJournal, whoseLogWasWrittenIsRemovedWithoutADuplicate) {
    kelmtest::TempDir dir;
    KilledRun(dir.Path(), 2);
    const auto journals =
        ChangeLogFolder::ListLogFiles(dir.Path(), ChangeLogJournal::kJournalExtension);
    ASSERT_EQ(journals.size(), 1u);
    std::wstring logPath;
    ASSERT_TRUE(KelmEngine::ChangeLogWriter::WriteLog(
        dir.Path(), Entries(2), L"/run", L"then",
        FileUtils::GetSplitFName(journals[0].Path) + L".log", logPath));

    std::vector<std::wstring> recovered;
    ASSERT_TRUE(ChangeLogJournal::RecoverJournals(dir.Path(), &recovered));
    EXPECT_TRUE(recovered.empty());
    EXPECT_EQ(ChangeLogFolder::ListLogFiles(dir.Path()).size(), 1u);
    EXPECT_FALSE(FileUtils::FileExists(journals[0].Path));
}

TEST(AJournal, staysForRecoveryWhenTheLogCannotBeWritten) {
    kelmtest::TempDir dir;
    const std::vector<CHANGELOGITEM> items = Entries(2);
    ChangeLogJournal journal(dir.Path(), L"/run");
    for (const CHANGELOGITEM& item : items)
        ASSERT_TRUE(journal.Append(item));
    std::wstring logPath;
    {
        ChangeLogFile::SystemCalls().fdatasync = [](int) {
            errno = EIO;
            return -1;
        };
        EXPECT_FALSE(journal.Finish(items, L"/run", 10, logPath));
        ChangeLogFile::ResetSystemCalls();
    }
    EXPECT_TRUE(ChangeLogFolder::ListLogFiles(dir.Path()).empty());
    ASSERT_TRUE(FileUtils::FileExists(journal.Path()));
    std::vector<std::wstring> recovered;
    ASSERT_TRUE(ChangeLogJournal::RecoverJournals(dir.Path(), &recovered));
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_EQ(ReadLog(recovered[0]).Items.size(), 2u);
}

// A failed append is cut off, so the next entry is not merged into it.
TEST(AJournal, keepsItsEntriesWholeWhenAnAppendFails) {
    kelmtest::TempDir dir;
    ChangeLogJournal journal(dir.Path());
    ASSERT_TRUE(journal.Append(MakeEntry(L"/one")));
    ChangeLogFile::SystemCalls().write = [](int fd, const void* data, size_t size) -> ssize_t {
        ::write(fd, data, size / 2);
        errno = ENOSPC;
        return -1;
    };
    EXPECT_FALSE(journal.Append(MakeEntry(L"/two")));
    ChangeLogFile::ResetSystemCalls();
    ASSERT_TRUE(journal.Append(MakeEntry(L"/three")));
    const ChangeLogEntries entries = ReadLog(journal.Path());
    ASSERT_EQ(entries.Items.size(), 2u);
    EXPECT_TRUE(entries.Unusable.empty());
    EXPECT_EQ(entries.Items[1].Path, L"/three");
    EXPECT_EQ(journal.Count(), 2u);
}
