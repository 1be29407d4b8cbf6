#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>

using namespace KelmPlatform;

TEST(ANativeName, survivesTheRoundTripWhateverItsBytes) {
    const std::string cases[] = {
        "plain.txt",
        "\xe5\x86\x99\xe7\x9c\x9f.jpg", // 写真.jpg
        "\xf0\x9f\x93\xb7 emoji",       // four-byte sequence
        "latin1-\xff\xfe.txt",          // bytes that are never UTF-8
        "truncated-\xe5\x86",           // sequence cut short
        "overlong-\xc0\xaf",            // overlong slash
        "surrogate-\xed\xa0\x80",       // encoded surrogate
        std::string("nul-free\x80\x81", 10),
    };
    for (const auto& bytes : cases) {
        EXPECT_EQ(ToNative(FromNative(bytes)), bytes) << bytes;
    }
}

TEST(ANativeName, decodesValidUtf8ToCodePointsAndEscapesTheRest) {
    EXPECT_EQ(FromNative("\xe5\x86\x99"), L"\u5199");
    EXPECT_EQ(FromNative("a\xff"), std::wstring(L"a") + static_cast<wchar_t>(0xDCFF));
    EXPECT_EQ(FromNative("\xf0\x9f\x93\xb7"), std::wstring(1, static_cast<wchar_t>(0x1F4F7)));
}

TEST(ANativeName, changesTheFileItNamesAndNoOther) {
    kelmtest::TempDir dir;
    const std::string odd = "photo-\xff.jpg";
    const std::string lookalike = "photo-\xc3\xbf.jpg"; // the same text read as Latin-1
    std::ofstream(dir.NativeChild(odd)) << "a";
    std::ofstream(dir.NativeChild(lookalike)) << "b";

    const std::wstring path = FromNative(dir.NativeChild(odd));
    ItemTimes times;
    times.modified = kUnixEpochAsFileTime + 1'000'000'000ull * kTicksPerSecond;
    ASSERT_TRUE(WriteItemTimes(path, times));

    struct stat changed {
    }, untouched{};
    ASSERT_EQ(stat(dir.NativeChild(odd).c_str(), &changed), 0);
    ASSERT_EQ(stat(dir.NativeChild(lookalike).c_str(), &untouched), 0);
    EXPECT_EQ(changed.st_mtim.tv_sec, 1'000'000'000);
    EXPECT_NE(untouched.st_mtim.tv_sec, 1'000'000'000);
}
