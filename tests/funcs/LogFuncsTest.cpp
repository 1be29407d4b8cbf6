#include <KelmLibraryFuncs/LogFuncs.h>
#include <KelmLibraryUtils/PathUtils.h>
#include <KelmPlatform/NativeName.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

using KelmLibraryFuncs::LogFuncs;

namespace {

// Runs `action` with standard error sent to a file and returns what it wrote.
template <typename Action> std::string CaptureStandardError(Action action) {
    kelmtest::TempDir dir("stderr");
    const std::string file = dir.NativeChild("stderr");
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    std::FILE* sink = std::fopen(file.c_str(), "wb");
    dup2(fileno(sink), STDERR_FILENO);
    action();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::fclose(sink);
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

size_t CountFiles(const std::filesystem::path& folder) {
    size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        files += !entry.is_directory();
    return files;
}

} // namespace

TEST(ATraceRecord, isThreeQuotedFieldsEndedByCrLf) {
    const struct {
        const wchar_t* text;
        int level;
        const wchar_t* record;
    } cases[] = {
        {L"abc", 2, L"\"2024/03/31 02:30:00:007\",\"2\",\"abc\"\r\n"},
        {L"say \"hi\", twice", 2, L"\"2024/03/31 02:30:00:007\",\"2\",\"say \"hi\", twice\"\r\n"},
        {L"", -15, L"\"2024/03/31 02:30:00:007\",\"-15\",\"\"\r\n"},
        {L"変更できません /home/ユーザー/a.txt", 2147483647,
         L"\"2024/03/31 02:30:00:007\",\"2147483647\",\"変更できません /home/ユーザー/a.txt\"\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogFuncs::FormatRecord(L"2024/03/31 02:30:00:007", c.level, c.text), c.record);
}

TEST(ATraceRecord, goesToStandardErrorAsUtf8WithTheCurrentLocalTime) {
    int result = -1;
    const std::string written = CaptureStandardError(
        [&] { result = LogFuncs::Write(L"KelmLibraryFuncs::X::Y /tmp/ä \"q\""); });
    EXPECT_EQ(result, 0);
    const std::regex record("\"\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}:\\d{3}\",\"2\","
                            "\"KelmLibraryFuncs::X::Y /tmp/\xC3\xA4 \"q\"\"\r\n");
    EXPECT_TRUE(std::regex_match(written, record)) << written;

    const std::string atLevel = CaptureStandardError([&] { result = LogFuncs::Write(L"m", 5); });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(atLevel.ends_with("\",\"5\",\"m\"\r\n")) << atLevel;
}

TEST(ATraceRecord, leavesTheApplicationLogFolderInPlaceAndWritesNoFile) {
    const std::filesystem::path data =
        KelmPlatform::ToNative(KelmLibraryUtils::PathUtils::GetAppDataPath());
    const std::filesystem::path log = data / "Log";
    std::filesystem::remove_all(log);
    CaptureStandardError([] {
        for (int i = 0; i < 3; ++i)
            LogFuncs::Write(L"record");
    });
    ASSERT_TRUE(std::filesystem::is_directory(log));
    EXPECT_TRUE(std::filesystem::is_empty(log));
    EXPECT_EQ(CountFiles(std::getenv("XDG_DATA_HOME")), 0u);
}
