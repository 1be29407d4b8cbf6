#include "ChangeLogTestItems.h"

#include <KelmEngine/ChangeLogFile.h>
#include <KelmEngine/ChangeLogFolder.h>
#include <KelmEngine/ChangeLogReader.h>
#include <KelmEngine/ChangeLogWriter.h>
#include <KelmLibraryUtils/UnicodeText.h>
#include <KelmPlatform/NativeName.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>

using KelmEngine::ChangeLogEntries;
using KelmEngine::ChangeLogFile;
using KelmEngine::ChangeLogFolder;
using KelmEngine::ChangeLogHeader;
using KelmEngine::CHANGELOGITEM;
using KelmEngine::ChangeLogReader;
using KelmEngine::ChangeLogWriter;
using kelmtest::MakeEntry;

namespace {

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(KelmPlatform::ToNative(path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Every field of an entry, compared through the line the writer makes of it.
std::wstring AllFields(const CHANGELOGITEM& item) {
    return ChangeLogWriter::FormatEntryRecord(item) + L"|" + std::to_wstring(item.ExactTimes);
}

class ScopedLogFileCalls {
public:
    ~ScopedLogFileCalls() { ChangeLogFile::ResetSystemCalls(); }
    ChangeLogFile::Calls* operator->() { return &ChangeLogFile::SystemCalls(); }
};

} // namespace

TEST(AChangeLog, isWrittenAsQuotedUtf8LinesAfterAByteOrderMark) {
    kelmtest::TempDir dir;
    CHANGELOGITEM exact = MakeEntry(L"/data/a \"b\".txt", 100);
    CHANGELOGITEM plain = MakeEntry(L"/data/c,d");
    plain.TakenBefore = L"2019/05/05 10:00:00";
    plain.TimeResult = 0;
    plain.UnblockResult = -1;
    std::wstring logPath;
    ASSERT_TRUE(ChangeLogWriter::WriteLog(dir.Path(), {exact, plain}, L"/data/",
                                          L"2024/02/01 9:00:00", L"log1F.log", logPath));
    EXPECT_EQ(logPath, dir.Child(L"log1F.log"));
    const std::string expected =
        "\xEF\xBB\xBF"
        "\"Horalux Log File\",\"/data\",\"2024/02/01 9:00:00\",\"2\"\r\n"
        "\"/data/a \"\"b\"\".txt\",\"2024/01/31 23:00:00\",\"2024/02/01 08:15:30\","
        "\"2024/02/01 08:15:30\",\"\",\"RA\",\"2020/03/29 02:30:00\",\"2020/03/29 02:30:00\","
        "\"2020/03/29 02:30:00\",\"\",\"A\",\"1\",\"1\",\"0\","
        "\"101\",\"102\",\"103\",\"104\",\"105\",\"106\"\r\n"
        "\"/data/c,d\",\"2024/01/31 23:00:00\",\"2024/02/01 08:15:30\","
        "\"2024/02/01 08:15:30\",\"2019/05/05 10:00:00\",\"RA\",\"2020/03/29 02:30:00\","
        "\"2020/03/29 02:30:00\",\"2020/03/29 02:30:00\",\"\",\"A\",\"0\",\"1\",\"-1\","
        "\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
    EXPECT_EQ(ReadBytes(logPath), expected);
}

TEST(AChangeLog, givesBackEveryPathAndValueItWasWritten) {
    kelmtest::TempDir dir;
    const std::vector<std::wstring> paths = {
        L"/data/a,b.txt",         L"/data/say \"cheese\".jpg",
        L"/data/line\r\nbreak",   L"/data/lf\nonly\"",
        L"/データ/写真 2024.jpg", KelmPlatform::FromNative("/data/\xff\xfe-latin1-\xe9.txt"),
        L"/data/\",\"trailing",
    };
    std::vector<CHANGELOGITEM> written;
    for (std::size_t i = 0; i < paths.size(); ++i)
        written.push_back(MakeEntry(paths[i], i % 2 ? 0 : 133'000'000'000'000'000 + i * 10));
    written[2].AttributesBefore = L"";
    std::wstring logPath;
    ASSERT_TRUE(ChangeLogWriter::WriteLog(dir.Path(), written, L"/データ, \"x\"", logPath));

    ChangeLogHeader header;
    ASSERT_TRUE(ChangeLogReader::ReadHeader(logPath, header));
    EXPECT_EQ(header.Title, L"Horalux Log File");
    EXPECT_EQ(header.Address, L"/データ, \"x\"");
    EXPECT_FALSE(header.DateTime.empty());
    EXPECT_EQ(header.Count, static_cast<int>(paths.size()));

    ChangeLogEntries entries;
    ASSERT_TRUE(ChangeLogReader::ReadEntries(logPath, entries));
    EXPECT_TRUE(entries.Unusable.empty());
    ASSERT_EQ(entries.Items.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i)
        EXPECT_EQ(AllFields(entries.Items[i]), AllFields(written[i])) << i;
    EXPECT_EQ(entries.Items[5].Path, paths[5]);
    EXPECT_EQ(KelmPlatform::ToNative(entries.Items[5].Path), "/data/\xff\xfe-latin1-\xe9.txt");
}

// Logs of earlier versions: 14 plain quoted values, no times, UTF-8 or UTF-16.
TEST(AChangeLog, readsLogsWithoutExactTimesAsBefore) {
    const std::wstring text =
        L"\"Horalux Log File\",\"/old\",\"2023/12/24 18:00:00\",\"2\"\r\n"
        L"\"/old/a.txt\",\"2023/01/01 00:00:00\",\"2023/01/02 00:00:00\",\"2023/01/03 00:00:00\","
        L"\"\",\"A\",\"2024/01/01 00:00:00\",\"2024/01/02 00:00:00\",\"2024/01/03 00:00:00\","
        L"\"\",\"RA\",\"1\",\"0\",\"1\"\r\n"
        L"\"/old/"
        L"it\"s.txt\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"x\",\"1\",\"1\"\r\n";
    kelmtest::TempDir dir;
    const std::wstring utf8 =
        dir.MakeFile("log1.log", "\xEF\xBB\xBF" + KelmPlatform::ToNative(text));
    const std::wstring utf16 =
        dir.MakeFile("log2.log", KelmLibraryUtils::UnicodeText::EncodeUtf16LeWithBom(text));
    for (const std::wstring& path : {utf8, utf16}) {
        ChangeLogEntries entries;
        ASSERT_TRUE(ChangeLogReader::ReadEntries(path, entries));
        EXPECT_TRUE(entries.Unusable.empty());
        ASSERT_EQ(entries.Items.size(), 2u);
        const CHANGELOGITEM& a = entries.Items[0];
        EXPECT_EQ(a.Path, L"/old/a.txt");
        EXPECT_EQ(a.ModifiedBefore, L"2023/01/02 00:00:00");
        EXPECT_EQ(a.AttributesAfter, L"RA");
        EXPECT_EQ(a.TimeResult, 1);
        EXPECT_EQ(a.AttributesResult, 0);
        EXPECT_EQ(a.UnblockResult, 1);
        EXPECT_EQ(a.ExactTimes, 0);
        EXPECT_EQ(entries.Items[1].Path, L"/old/it\"s.txt");
        EXPECT_EQ(entries.Items[1].TimeResult, 0);
        ChangeLogHeader header;
        ASSERT_TRUE(ChangeLogReader::ReadHeader(path, header));
        EXPECT_EQ(header.Address, L"/old");
        EXPECT_EQ(header.DateTime, L"2023/12/24 18:00:00");
        EXPECT_EQ(header.Count, 2);
    }
}

// A split that shifts the fields could put one item's dates onto another
// path; such lines are refused and keep their place, so indexes stay.
TEST(AChangeLog, refusesLinesThatDoNotYieldItsFields) {
    auto line = [](const std::wstring& path, int fields, const std::wstring& tick = L"7") {
        std::wstring text = L"\"" + path + L"\"";
        for (int i = 1; i < fields; ++i)
            text += i < 14 ? L",\"1\"" : L",\"" + tick + L"\"";
        return text + L"\r\n";
    };
    const std::wstring text = L"\"Horalux Log File\",\"\",\"\",\"6\"\r\n" + line(L"/ok14", 14) +
                              line(L"/short", 13) + line(L"/long", 15) + L"\r\n" +
                              line(L"/ok20", 20) + line(L"/badtick", 20, L"-1") +
                              line(L"/huge", 20, L"99999999999999999999") + L"\"/old/a,b\",\"c\"," +
                              line(L"d", 13) + line(L"/torn", 9).substr(0, 20);
    ChangeLogEntries entries;
    ChangeLogReader::ParseEntries(text, entries);
    ASSERT_EQ(entries.Items.size(), 9u);
    EXPECT_EQ(entries.Unusable, (std::vector<std::size_t>{1, 2, 3, 5, 6, 7, 8}));
    for (std::size_t index : entries.Unusable)
        EXPECT_TRUE(entries.Items[index].Path.empty()) << index;
    EXPECT_EQ(entries.Items[0].Path, L"/ok14");
    EXPECT_EQ(entries.Items[4].Path, L"/ok20");
    EXPECT_EQ(entries.Items[4].ExactTimes, 1);
    EXPECT_EQ(entries.Items[4].TimesAfter.accessed, 7u);
}

TEST(AChangeLog, readsAHeaderWithMissingValuesAsEmpty) {
    kelmtest::TempDir dir;
    ChangeLogHeader header;
    ASSERT_TRUE(
        ChangeLogReader::ReadHeader(dir.MakeFile("log1.log", "\xEF\xBB\xBF\"T\",\"/a\""), header));
    EXPECT_EQ(header.Address, L"/a");
    EXPECT_EQ(header.DateTime, L"");
    EXPECT_EQ(header.Count, 0);
    EXPECT_FALSE(ChangeLogReader::ReadHeader(dir.Child(L"missing.log"), header));
    EXPECT_FALSE(ChangeLogReader::ReadHeader(dir.Path(), header));
}

TEST(AChangeLog, isNotWrittenWithoutEntries) {
    kelmtest::TempDir dir;
    std::wstring logPath = L"stale";
    EXPECT_FALSE(ChangeLogWriter::WriteLog(dir.Child(L"Log Files"), {}, L"/a", logPath));
    EXPECT_TRUE(logPath.empty());
    EXPECT_TRUE(ChangeLogFolder::ListLogFiles(dir.Child(L"Log Files")).empty());
}

TEST(AChangeLog, createsItsFolderOneLevelDeep) {
    kelmtest::TempDir dir;
    std::wstring logPath;
    EXPECT_TRUE(
        ChangeLogWriter::WriteLog(dir.Child(L"Log Files/"), {MakeEntry(L"/a")}, L"", logPath));
    EXPECT_EQ(ChangeLogFolder::ListLogFiles(dir.Child(L"Log Files")).size(), 1u);
    EXPECT_FALSE(ChangeLogWriter::WriteLog(dir.Child(L"x/y"), {MakeEntry(L"/a")}, L"", logPath));
}

TEST(AChangeLog, leavesNoFileWhenAWriteOrTheFlushFails) {
    kelmtest::TempDir dir;
    std::wstring logPath;
    {
        ScopedLogFileCalls calls;
        calls->write = [](int, const void*, size_t) -> ssize_t {
            errno = ENOSPC;
            return -1;
        };
        EXPECT_FALSE(ChangeLogWriter::WriteLog(dir.Path(), {MakeEntry(L"/a")}, L"", logPath));
    }
    {
        ScopedLogFileCalls calls;
        calls->write = [](int fd, const void* data, size_t size) -> ssize_t {
            return ::write(fd, data, size > 5 ? 5 : size); // partial writes are resumed
        };
        calls->fdatasync = [](int) {
            errno = EIO;
            return -1;
        };
        EXPECT_FALSE(ChangeLogWriter::WriteLog(dir.Path(), {MakeEntry(L"/a")}, L"", logPath));
    }
    EXPECT_TRUE(logPath.empty());
    EXPECT_TRUE(ChangeLogFolder::ListLogFiles(dir.Path()).empty());
}
